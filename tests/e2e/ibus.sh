#!/usr/bin/env bash
# A Japanese input method (ibus with Anthy) in the result box: a conversion
# still pending when a button runs does not land in the result. The real
# program on Xvfb with real keys, on a private session bus with ibus's daemon.
# (That committed text respects the box's cap is a window test.)
#   ibus.sh PROGRAM
set -euo pipefail
program=$1
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../lib/check.sh"
private_session

# Anthy's engine is a Python program: it must find the system's Python.
PATH=/usr/bin:/bin:$PATH ibus-daemon --panel=disable --xim=false --daemonize=false \
    >"$work/ibus.log" 2>&1 &
# Setting the engine may report failure and still take: the engine in use decides.
engine_is_anthy() {
    ibus engine anthy >/dev/null 2>&1 || true
    [ "$(ibus engine 2>/dev/null)" = anthy ]
}
# (The process started here hands over to another daemon: the wait is for the
# engine, bounded, not for that process.)
poll engine_is_anthy || { echo "ibus with Anthy did not start"; cat "$work/ibus.log"; exit 1; }

env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR QT_IM_MODULE=ibus "$program" >"$work/program.log" 2>&1 &
app=$!
window_of "$app" '^Integration Velmar$' || { echo "the program showed no window"; cat "$work/program.log"; exit 1; }
xdotool windowfocus --sync "$wid"

copied=
copy_result() {
    printf '' | xclip -selection clipboard -i >/dev/null 2>&1
    xdotool mousemove --window "$wid" 300 436 click --delay 0 1 key --clearmodifiers --delay 0 ctrl+a ctrl+c
    copied=$(xclip -o -selection clipboard 2>/dev/null || true)
}
result_is() { copy_result && [ "$copied" == "$1" ]; }
key() { xdotool key --clearmodifiers --delay 0 "$@"; }
nl=$'\n'
t10000="Integral Sin(x) [0,pi]= 1.9999999835511${nl}dx= .0003141592654"

# "kanji" in hiragana, converted with Space: 感じ, pending. Then Calculate by its
# access key, and Enter, which would confirm a conversion still pending.
# Each step waits until the box shows what the input method composes, as a
# user sees it: the hiragana, then the kanji of the conversion.
box_shot() { import -window "$wid" -crop 601x41+48+416 +repage "$work/$1.png" 2>/dev/null; }
changed_from() { box_shot now && [ "$(compare -metric AE "$work/$1.png" "$work/now.png" null: 2>&1)" != 0 ]; }
xdotool mousemove --window "$wid" 300 436 click 1
key ctrl+j # Anthy from Latin to hiragana
box_shot empty
xdotool type --delay 20 kanji
poll --while "$app" changed_from empty || true
cp "$work/now.png" "$work/hiragana.png"
key space
poll --while "$app" changed_from hiragana || true
key alt+c
key Return
# Enter makes a new line in the box, before or after the result as the keys
# fall; what counts is that the result is whole and nothing of the conversion.
# The result is copied with the input method off, so it cannot take the keys.
engine_is_us() {
    ibus engine xkb:us::eng >/dev/null 2>&1 || true
    [ "$(ibus engine 2>/dev/null)" = xkb:us::eng ]
}
poll engine_is_us || true
whole() { copy_result && [ "${copied#"$nl"}" == "$t10000" ]; }
poll --while "$app" whole || true
check "a pending conversion does not land in the result" "$t10000" "${copied#"$nl"}"

key alt+x
finish ibus
