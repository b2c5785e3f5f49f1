#!/usr/bin/env bash
# A laptop of twice the scale beside a projector, as KDE sets per-monitor scale
# on X11: two RandR monitors on one X screen, PROJ at 1x and LAPTOP at 2x. Under
# each window manager the window shows the whole form wherever it starts and
# after every move: its logical size, so twice the device pixels on the laptop.
#   monitors.sh PROGRAM
set -euo pipefail
program=$1
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../lib/check.sh"
XVFB_SCREEN=3072x1536x24 private_session
xrandr --setmonitor PROJ 1024/270x768/200+0+0 screen >/dev/null
xrandr --setmonitor LAPTOP 2048/300x1536/200+1024+0 none >/dev/null

# The window manager's check window, once it manages the screen.
wm_window() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ {print $NF}'; }
wm_ready() { local w; w=$(wm_window) && [ -n "$w" ] && [ "$w" != "$old_wm" ] && xprop -id "$w" >/dev/null 2>&1; }
size() { xwininfo -id "$wid" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
size_is() { [ "$(size)" = "$1" ]; }
# Managed: the window manager has taken the window once it sets the window's
# state; until then it stands where the program put it.
managed() { xprop -id "$wid" WM_STATE 2>/dev/null | grep -q 'window state: Normal'; }
# Settled: managed, and at the device size the form has on the monitor its
# left edge is on, both read at one moment (the window manager may still move
# it, and the program then follows): placed tells where, seen what it showed.
settled() {
    managed || return 1
    read -r placed seen < <(xwininfo -id "$wid" 2>/dev/null |
        awk '/Absolute upper-left X:/ {x = $NF} /Width:/ {w = $2} /Height:/ {h = $2} END {print x, w "x" h}')
    [ "$seen" = "$([ "${placed:-0}" -ge 1024 ] && echo 1396x1052 || echo 698x526)" ]
}

old_wm=
for wm in mutter kwin openbox; do
    case $wm in
    mutter) mutter --x11 --replace --sm-disable >"$work/$wm.log" 2>&1 & ;;
    kwin) kwin_x11 --replace >"$work/$wm.log" 2>&1 & ;;
    openbox) openbox --replace >"$work/$wm.log" 2>&1 & ;;
    esac
    wm_pid=$!
    poll --while "$wm_pid" wm_ready || { echo "$wm did not start"; cat "$work/$wm.log"; exit 1; }
    old_wm=$(wm_window)
    QT_SCREEN_SCALE_FACTORS="PROJ=1;LAPTOP=2" env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR \
        "$program" >"$work/program-$wm.log" 2>&1 &
    app=$!
    # The program's own window, not a frame the window manager titles alike.
    window_of "$app" '^Integration Velmar$' || { echo "$wm: no window"; cat "$work/program-$wm.log"; exit 1; }
    poll --while "$app" settled || true
    check "$wm: at start, where it was placed (left edge at $placed)" \
        "$([ "${placed:-0}" -ge 1024 ] && echo 1396x1052 || echo 698x526)" "$seen"
    xdotool windowmove "$wid" 1300 100
    poll --while "$app" size_is 1396x1052 || true
    check "$wm: moved onto the 2x laptop" "1396x1052" "$(size)"
    xdotool windowmove "$wid" 100 100
    poll --while "$app" size_is 698x526 || true
    check "$wm: moved back onto the 1x projector" "698x526" "$(size)"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    kill "$wm_pid" 2>/dev/null || true
    wait "$wm_pid" 2>/dev/null || true
done
finish monitors
