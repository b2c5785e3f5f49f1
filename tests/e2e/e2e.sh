#!/usr/bin/env bash
# End to end: the real program on a real X server (Xvfb), driven by real key
# presses and mouse clicks sent through the server, checked from screenshots
# and from the text a user can copy out of the result box.
#   e2e.sh PROGRAM SHOTDIR
set -euo pipefail
program=$1
shots=$2
mkdir -p "$shots"
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/../lib/check.sh"

# A display of our own.
display=
for n in $(seq 91 139); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display"; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

start() { # start [ARGUMENT...]
    env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR "$program" "$@" >"$work/program.log" 2>&1 &
    app=$!
    pids+=($app)
    wid=$(xdotool search --sync --onlyvisible --name '^Integration Velmar$' | head -1)
    sleep 0.3 # the first frame
    xdotool windowfocus --sync "$wid"
}

shot() { import -window "$wid" "$work/$1.png"; }
# The canvas's drawing area sits 2 px inside its border at (48, 8).
canvas() { convert "$work/$1.png" -crop 597x397+50+10 +repage "$work/$1-canvas.png"; }
pixel() { convert "$work/$1-canvas.png" -format "%[hex:u.p{$2,$3}]" info: | cut -c1-6; }
count() { # count SHOT COLOUR: pixels of exactly that colour on the canvas
    convert "$work/$1-canvas.png" -fill white -opaque "$2" -fill black +opaque white \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}
same() { compare -metric AE "$work/$1-canvas.png" "$work/$2-canvas.png" null: 2>&1 || true; }
# Select all in the result box and copy, as a user would; the lines come back LF-separated.
result() {
    # Own the clipboard with nothing in it first: copying an empty box copies nothing.
    printf '' | xclip -selection clipboard -i >/dev/null 2>&1
    xdotool mousemove --window "$wid" 300 436 click 1
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard 2>/dev/null || true
}
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.3; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.3; }

# Button centres, in window pixels.
b1="68 484"; b2="184 484"; b10="296 484"; bcalc="416 484"; bclear="528 484"; bexit="640 484"
nl=$'\n'
t1="Integral Sin(x) [0,pi]=-6.44351424333978E-10${nl}dx= 3.141592654"
t2="Integral Sin(x) [0,pi]= 1.57079632667782${nl}dx= 1.570796327"
t10="Integral Sin(x) [0,pi]= 1.98352353750514${nl}dx= .3141592654"
t10000="Integral Sin(x) [0,pi]= 1.9999999835511${nl}dx= .0003141592654"

# --- start-up picture, and that it survives unmapping -----------------------------
start
shot startup; canvas startup
cp "$work/startup.png" "$shots/startup.png"
check "window size" "698x526" "$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')"
icons=$(xprop -id "$wid" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
check "window icon sizes" "Icon (16 x 16) Icon (32 x 32) Icon (48 x 48) Icon (64 x 64) " "$icons"
# The desktop entry's StartupWMClass matches the window.
check "window class" 'WM_CLASS(STRING) = "integration-velmar", "integration-velmar"' \
    "$(xprop -id "$wid" WM_CLASS)"
check "black ground" "000000" "$(pixel startup 300 50)"
check "vertical axis" "FFFF00" "$(pixel startup 6 300)"
check "horizontal axis" "FFFF00" "$(pixel startup 450 198)"
check "curve at its top" "1" "$([ "$(count startup '#64FFFF')" -gt 500 ] && echo 1 || echo 0)"
check "no trapezoids yet" "0" "$(count startup '#00FF00')"
xdotool windowunmap --sync "$wid"; sleep 0.3
xdotool windowmap --sync "$wid"; sleep 0.5
shot remapped; canvas remapped
check "picture after unmap and map" "0" "$(same startup remapped)"
check "empty result box" "" "$(result)"

# --- every button by mouse ---------------------------------------------------------
click $b1;    check "1 trapezoid by mouse" "$t1" "$(result)"
click $b2;    check "2 trapezoids by mouse" "$t2" "$(result)"
click $b10;   check "10 trapezoids by mouse" "$t10" "$(result)"
click $bcalc
shot calculated; canvas calculated
check "calculate by mouse" "$t10000" "$(result)"
cp "$work/calculated.png" "$shots/calculated.png"
check "trapezoids drawn" "1" "$([ "$(count calculated '#00FF00')" -gt 20000 ] && echo 1 || echo 0)"
click $bclear
shot cleared; canvas cleared
check "clear by mouse restores the picture" "0" "$(same startup cleared)"
check "clear by mouse empties the box" "" "$(result)"

# --- every button by access key ----------------------------------------------------
key alt+1; check "alt+1" "$t1" "$(result)"
key alt+2; check "alt+2" "$t2" "$(result)"
key alt+0; check "alt+0" "$t10" "$(result)"
key alt+c; check "alt+c" "$t10000" "$(result)"
shot bykey; canvas bykey
check "the same picture by keys as by mouse" "0" "$(same calculated bykey)"
key alt+r
shot cleared2; canvas cleared2
check "alt+r restores the picture" "0" "$(same startup cleared2)"
check "alt+r empties the box" "" "$(result)"

# An access key and a click sent back to back are handled in that order.
xdotool key --clearmodifiers alt+c mousemove --window "$wid" $b10 click 1
sleep 0.5
check "key then click, in order" "$t10" "$(result)"

# A letter access key in upper case.
key alt+shift+c; check "alt+shift+c" "$t10000" "$(result)"

# Tab from the canvas, then Enter.
click 300 200 # the canvas takes the focus
key Tab Return
check "tab then enter presses 1 trapezoid" "$t1" "$(result)"

key alt+x
status=0; wait "$app" || status=$?
check "alt+x exits with status 0" "0" "$status"

# --- Qt's own options do nothing; Exit by mouse -----------------------------------
start -reverse -style windows
check "arguments are noted and ignored" \
    "integration-velmar: takes no arguments, ignoring them (man integration-velmar describes the program)" \
    "$(head -1 "$work/program.log")"
shot reversed
check "-reverse leaves the window as it is" "0" \
    "$(compare -metric AE "$work/startup.png" "$work/reversed.png" null: 2>&1 || true)"
xdotool mousemove --window "$wid" $bexit click 1
status=0; wait "$app" || status=$?
check "exit by mouse exits with status 0" "0" "$status"

# --- no display: one plain line and status 1, not Qt's abort -----------------------
status=0
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:7999 "$program" >"$work/nodisplay.log" 2>&1 || status=$?
check "no display: status 1" "1" "$status"
check "no display: what to check" \
    "integration-velmar: cannot open the X display \":7999\"; check that a desktop session is running and DISPLAY or WAYLAND_DISPLAY names it" \
    "$(cat "$work/nodisplay.log")"

finish e2e
