#!/usr/bin/env bash
# The Windows edition under Wine (64-bit), on an X server of its own, in a
# fresh prefix without Mono and Gecko (nothing is downloaded):
#   wine.sh core CORE_TESTS                         the core's tests on Windows' C runtime
#   wine.sh program MSI OLDER_MSI CLIENT CASES [DESKTOP_SHOTS]
# The program is installed from its MSI, started from its Start-menu shortcut,
# driven with real clicks and keys through the X server and read back by
# CLIENT as Windows reads it; its canvas must equal the desktop's pictures.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../lib/check.sh"
work=$(mktemp -d)
cleanup() { wineserver -k 2>/dev/null || true; kill "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
XVFB_SCREEN=1600x1200x24 start_xvfb "$work/xvfb.log" # room for the form at 192 DPI
wineboot -u >"$work/wineboot.log" 2>&1 && wineserver -w
if [ "$1" = core ]; then
    wine "$2"
    exit
fi
msi=$2 older=$3 client=$4 cases=$5 shots=${6:-}
ask() { wine "$client" "$@"; }
text_of() { python3 -c 'import json, sys; print(next(r["text"] for r in json.load(open(sys.argv[1]))["runs"]
    if r["nTrap"] == int(sys.argv[2])))' "$cases" "$1"; }
folder="$WINEPREFIX/drive_c/Program Files/Integration Velmar"

# --- installed silently, started from its shortcut -------------------------------------
status=0; wine msiexec /i "$msi" /qn || status=$?
lnk=$(find "$WINEPREFIX/drive_c" -name 'Integration Velmar.lnk' | head -1)
check "a silent install: the program and its Start-menu shortcut" "0 yes yes" \
    "$status $([ -f "$folder/integration-velmar.exe" ] && echo yes) $([ -n "$lnk" ] && echo yes)"
# The program's window in wid, its process in app. Through the shortcut the
# program starts on its own, so its exit status is read where it is started
# straight ("$folder/integration-velmar.exe", status in $work/status).
shown() { wid=$(xdotool search --onlyvisible --name '^Integration Velmar$' 2>/dev/null | head -1) && [ -n "$wid" ]; }
start() {
    if [ "$1" = shortcut ]; then
        wine start /unix "$lnk"
    else
        rm -f "$work/status"
        (set +e; wine "$folder/integration-velmar.exe" >"$work/program.log" 2>&1; echo $? >"$work/status") &
    fi
    poll shown || { echo "the program showed no window"; exit 1; }
    app=$(xdotool getwindowpid "$wid")
}
gone() { ! shown; }
start shortcut

area=597x397+50+10 # the canvas's drawing area, 2 px inside its border at (48, 8)
shot() { import -window "$wid" "$work/$1.png" 2>/dev/null && convert "$work/$1.png" -crop "$area" +repage "$work/$1-c.png"; }
differs() { compare -metric AE "$work/$1-c.png" "$2" null: 2>&1 || true; }
desktop() { [ -f "$shots/$1.png" ] && convert "$shots/$1.png" -crop 597x397+50+10 +repage "$work/$1-d.png" && echo "$work/$1-d.png"; }
picture_is() { # picture_is WHAT PICTURE: the canvas shows PICTURE (skipped without the desktop's)
    want=$2
    [ -z "$want" ] && return
    poll --while "$app" same_now || true
    check "$1: the canvas's picture" 0 "$(differs now "$want")"
}
same_now() { shot now && [ "$(differs now "$want")" = 0 ]; }
result_is() { # result_is WHAT EXPECTED: the box's text, CR LF and all
    want_text=$1
    poll --while "$app" text_now || true
    check "$2" "$want_text" "$got"
}
text_now() { got=$(ask text) && got=${got%|} && [ "$got" == "$want_text" ]; }
click() { xdotool mousemove --window "$wid" "$1" "$2" click --delay 0 1; }
key() { xdotool key --clearmodifiers --delay 0 "$@"; }
nl=$'\n'
b1="68 484"; b2="184 484"; b10="296 484"; bcalc="416 484"; bclear="528 484"; bexit="640 484"

check "window size" "698x526" "$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')"
picture_is "start-up" "$(desktop startup)"
result_is "" "an empty box at start-up"
# --- every button by mouse, then by access key, piling up ------------------------------
click $b1;    result_is "$(text_of 1)" "1 trapezoid by mouse";     picture_is "1" "$(desktop one)"
click $b2;    result_is "$(text_of 2)" "2 trapezoids by mouse";    picture_is "1, 2" "$(desktop two)"
click $b10;   result_is "$(text_of 10)" "10 trapezoids by mouse"
click $bcalc; result_is "$(text_of 10000)" "calculate by mouse";   picture_is "1, 2, 10, 10000" "$(desktop calculated)"
click $bclear; result_is "" "clear by mouse";                      picture_is "clear" "$(desktop startup)"
key alt+1; result_is "$(text_of 1)" "alt+1"
key alt+2; result_is "$(text_of 2)" "alt+2"
key alt+0; result_is "$(text_of 10)" "alt+0"
key alt+c; result_is "$(text_of 10000)" "alt+c";                   picture_is "by keys" "$(desktop calculated)"
key alt+r; result_is "" "alt+r"
key alt+0; result_is "$(text_of 10)" "alt+0 after clear";          picture_is "10 alone" "$(desktop ten)"
key alt+q; result_is "$(text_of 10)" "alt+q presses nothing"
# Clicks and keys made during the 10000-trapezoid run are handled after it, in order.
xdotool key --clearmodifiers alt+c mousemove --window "$wid" $b1 click 1 key --clearmodifiers alt+2
result_is "$(text_of 2)" "typed ahead: the last press's text"
# --- Tab order from the canvas, Enter and Esc --------------------------------------------
click 300 200
order=$(ask focus)
for i in 1 2 3 4 5 6 7 8; do key Tab; order+=" $(ask focus)"; done
check "Tab from the canvas" "picGraph cmd1rect cmd2rect cmdcalc cmdclear cmdexit txtRes cmd10Rec picGraph" "$order"
key shift+Tab; check "Shift+Tab" cmd10Rec "$(ask focus)"
key Escape; result_is "$(text_of 2)" "Esc presses nothing"
key Return; result_is "$(text_of 10)" "Enter presses the focused button"
click 300 436; key ctrl+End Return; result_is "$(text_of 10)"$'\r\n' "Enter in the box starts a line"
key Tab; check "Tab leaves the box" cmd10Rec "$(ask focus)"
# --- what a screen reader reads -------------------------------------------------------
box="$(text_of 10)"$'\r\n'
check "accessible names, values and descriptions" "Graph |  | The sine curve over one period, from 0 to 2π, on axes. \
10 trapezoids approximate the area under it from 0 to π.
1 Trapezoid |  | ${nl}2 Trapezoids |  | ${nl}Calculate |  | ${nl}Clear |  | ${nl}Exit |  | 
Result | $box | The approximate integral and the width of one trapezoid
10 Trapezoids |  | " "$(ask names)"
# --- Exit, and closing the window: the window goes, status 0 ---------------------------
click $bexit
check "Exit: the window goes" yes "$(poll gone && echo yes)"
for how in "click $bexit" "key alt+F4"; do
    start straight
    $how
    poll test -s "$work/status" || true
    check "$how: status 0" 0 "$(cat "$work/status" 2>/dev/null)"
done
# --- at 120, 144 and 192 DPI the form is the layout scaled, its picture drawn at that ratio ---
dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null && wineserver -k; }
for ratio in 1.25 1.5 2; do
    dpi "$(python3 -c "print(round(96 * $ratio))")"
    start straight
    scaled() { python3 -c "import sys; print(*(int($ratio * int(a) + 0.5) for a in sys.argv[1:]))" "$@"; }
    check "at $ratio: window size" "$(scaled 698 526 | tr ' ' x)" \
        "$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')"
    read -r left top width height < <(scaled 48 8 601 401)
    read -r w h < <(scaled 597 397)
    area=${w}x$h+$((left + (width - w) / 2))+$((top + (height - h) / 2))
    ask picture "$ratio" >"$work/ratio.ppm" && convert "$work/ratio.ppm" "$work/ratio.png"
    picture_is "at $ratio" "$work/ratio.png"
    click $(scaled 640 484) # Exit
    poll test -s "$work/status" || true
done
# --- a run-time error at start-up: the report, then status 1 -----------------------------
# At 34 times 96 DPI the canvas would take more pixels than a picture may have.
dpi 3264
rm -f "$work/status"
(set +e; wine "$folder/integration-velmar.exe" >"$work/program.log" 2>&1; echo $? >"$work/status") &
check "a failed start-up: the report" "Run-time error '480':

Canvas operation failed: no memory for a 20298 x 13498 image" "$(ask report)"
poll test -s "$work/status" || true
check "a failed start-up: status 1" 1 "$(cat "$work/status")"
dpi 96
# --- an older version upgraded: one entry, the new program; uninstalled: nothing left -----
entries() { wine uninstaller --list 2>&1; } # Wine 10 lists them on stderr
code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
status=0
wine msiexec /x "$msi" /qn && wine msiexec /i "$older" /qn && wine msiexec /i "$msi" /qn || status=$?
check "upgraded: one entry, the new version's" "0 $(code "$msi")" \
    "$status $(entries | tr -d '\r' | sed -n 's/|||Integration Velmar$//p' | tr '\n' ' ' | xargs)"
wine msiexec /x "$msi" /qn || true
check "uninstalled: nothing left" "no entry, no folder" \
    "$(entries | grep -q 'Integration Velmar' && echo entry || echo no entry), \
$([ -e "$folder" ] && echo folder || echo no folder)"
finish windows
