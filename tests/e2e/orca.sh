#!/usr/bin/env bash
# What a blind student hears: the real program on Xvfb under GNOME's screen
# reader Orca, driven with real keys, on a private session bus with its own
# AT-SPI bus (tests/lib/orca.sh has the screen reader and its speech log).
#   orca.sh PROGRAM
set -euo pipefail
program=$1
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../lib/check.sh"
private_session

source "$here/../lib/orca.sh"

# --- start-up: the window and the canvas, as today --------------------------------
from=$(mark)
env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON "$program" \
    >"$work/program.log" 2>&1 &
app=$!
window_of "$app" '^Integration Velmar$' || { echo "the program showed no window"; cat "$work/program.log"; exit 1; }
xdotool windowfocus --sync "$wid"
poll --while "$app" says "The sine curve over one period" || true
check "start-up: the window" "1" "$(says "Integration Velmar frame" && echo 1 || echo 0)"
check "start-up: the canvas" "1" "$(says "Graph image" && echo 1 || echo 0)"
check "start-up: what the canvas shows" "1" \
    "$(says "The sine curve over one period, from 0 to 2π, on axes." && echo 1 || echo 0)"

presses_and_results "Result text"

xdotool key --clearmodifiers alt+x
finish orca
