#!/usr/bin/env bash
# A Wayland desktop: the program runs natively on a headless Weston, shows its
# black canvas with the yellow axes and the cyan curve, and ends cleanly when
# the test terminates it.
#   wayland.sh PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
chmod 700 "$work"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../lib/check.sh"

export XDG_RUNTIME_DIR="$work"
export WAYLAND_DISPLAY=velmar-test
# --debug lets weston-screenshooter take pictures; pixman draws them.
weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 --idle-time=0 \
    --socket="$WAYLAND_DISPLAY" --debug >"$work/weston.log" 2>&1 &
pids+=($!)
poll --while "$!" accepts "$work/$WAYLAND_DISPLAY" || { echo "weston did not start"; cat "$work/weston.log"; exit 1; }

env -u DISPLAY -u QT_SCALE_FACTOR QT_QPA_PLATFORM=wayland "$program" >"$work/program.log" 2>&1 &
app=$!
pids+=($app)

# count COLOUR: pixels of exactly that colour in the latest screenshot
count() {
    convert "$work/shot.png" -fill white -opaque "$1" -fill black +opaque white \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}
screenshot() {
    rm -f "$work"/wayland-screenshot-*.png
    (cd "$work" && weston-screenshooter >/dev/null 2>&1) || return 1
    mv "$work"/wayland-screenshot-*.png "$work/shot.png" && [ "$(count '#64FFFF')" -gt 500 ]
}
poll --while "$app" screenshot || true
check "the curve is on screen" "1" "$([ "$(count '#64FFFF')" -gt 500 ] && echo 1 || echo 0)"
check "the axes are on screen" "1" "$([ "$(count '#FFFF00')" -gt 900 ] && echo 1 || echo 0)"
check "the canvas is black" "1" "$([ "$(count '#000000')" -gt 200000 ] && echo 1 || echo 0)"
check "running natively, not through X" "1" "$(kill -0 "$app" 2>/dev/null && echo 1 || echo 0)"

kill -TERM "$app"
status=0; wait "$app" || status=$?
check "terminated by the test, cleanly" "143" "$status"
check "nothing went wrong on the way" "" "$(grep -i -e error -e fatal -e broke "$work/program.log" || true)"
finish wayland
