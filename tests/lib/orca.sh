# Sourced by the Orca tests, after private_session: GNOME's screen reader Orca on
# the private session, its speech going to a private speech-dispatcher whose one
# output module appends each text it is given to a log, which the checks read.
# speech-dispatcher with one module: the stock generic one, writing each text to the log.
speech="$work/speech.log"
: >"$speech"
mkdir -p "$work/speechd/modules"
cat >"$work/speechd/speechd.conf" <<CONF
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "log" "sd_generic" "log.conf"
DefaultModule log
LogLevel 1
LogDir "$work"
CONF
cat >"$work/speechd/modules/log.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> $speech"
GenericLanguage "en" "en" "utf-8"
AddVoice "en" "MALE1" "en"
CONF
speech-dispatcher --run-single --timeout 0 --config-dir "$work/speechd" \
    --socket-path "$work/speechd.sock" >"$work/speechd.out" 2>&1 &
poll --while "$!" accepts "$work/speechd.sock" || { echo "speech-dispatcher did not start"; cat "$work/speechd.out"; exit 1; }
export SPEECHD_ADDRESS="unix_socket:$work/speechd.sock"

# Orca's defaults, less the echo of each key and the reading of a whole page
# once it has loaded, so the log holds what the program says; and a voice in
# English, the one language the log module knows, whatever the caller's locale
# (under C.UTF-8 Orca would ask for language "C", and the module would write "π"
# as "?").
mkdir -p "$work/orca"
cat >"$work/orca/user-settings.conf" <<'CONF'
{"general": {"enableKeyEcho": false, "sayAllOnLoad": false,
             "voices": {"default": {"family": {"lang": "en", "dialect": ""}}}},
 "profiles": {"default": {"profile": ["Default", "default"], "pronunciations": {},
                          "keybindings": {}, "enableKeyEcho": false, "sayAllOnLoad": false,
                          "voices": {"default": {"family": {"lang": "en", "dialect": ""}}}}},
 "pronunciations": {}, "keybindings": {}}
CONF
# Orca refuses to start beside any other Orca of the same user, in any session
# (it asks pgrep): this private session's Orca is told of none, so the test runs
# beside a user's own screen reader too.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/pgrep"
chmod +x "$work/bin/pgrep"
# Orca aborts itself when its start or an event takes over 10 seconds ("something
# has hung"), which a busy machine can make it: its own watchdog is off here, and
# the waits below end when what they wait for is heard, or when Orca has ended.
PATH="$work/bin:$PATH" /usr/bin/python3 -c 'import runpy, sys
import orca.settings
orca.settings.timeoutTime = 0
sys.argv = ["orca"] + sys.argv[1:]
runpy.run_path("/usr/bin/orca", run_name="__main__")' --user-prefs "$work/orca" >"$work/orca.out" 2>&1 &
orca_pid=$!
# The whole log as one line: speech-dispatcher hands the module a sentence at a time.
heard() { tr '\n' ' ' <"$speech" | tr -s ' '; }
# heard_after OFFSET: what was spoken since the log had OFFSET bytes.
heard_after() { tail -c +"$(($1 + 1))" "$speech" | tr '\n' ' ' | tr -s ' '; }
mark() { stat -c %s "$speech"; }
# says TEXT[|TEXT...]: one of the texts was heard (a button is "push button" to
# Orca 43 and "button" to Orca 48: both are said as alternatives, nothing looser).
says() {
    local heard alt alts
    heard=$(heard_after "$from")
    IFS='|' read -ra alts <<<"$1"
    for alt in "${alts[@]}"; do [[ "$heard" == *"$alt"* ]] && return 0; done
    return 1
}
button() { echo "$1 push button|$1 button"; }
# quiet: Orca has said nothing more for a second (a page's load can still be
# being spoken after its focus is).
quiet() {
    local before
    before=$(mark)
    sleep 1
    [ "$(mark)" = "$before" ]
}
# step NAME EXPECTED KEY...: presses the keys and waits until EXPECTED is heard.
step() {
    local name=$1 expected=$2
    shift 2
    from=$(mark)
    xdotool key --clearmodifiers --delay 0 "$@"
    poll --while "$orca_pid" says "$expected" || true
    check "$name" "1" "$(says "$expected" && echo 1 || echo "0: heard '$(heard_after "$from")'")"
}
from=0
poll --while "$orca_pid" says "Screen reader on" || { echo "Orca did not start"; cat "$work/orca.out"; exit 1; }

# presses_and_results BOX: the presses, from the canvas, from a button and from
# the box (spoken as BOX), each heard once. Starts with the canvas focused.
presses_and_results() {
    local box=$1
    # What is announced of each run, as tests/cases.json has it.
    spoken() {
        python3 -c 'import json, sys
print(next(r["spoken"] for r in json.load(open(sys.argv[1]))["runs"] if r["nTrap"] == int(sys.argv[2])))' \
            "$(dirname "${BASH_SOURCE[0]}")/../cases.json" "$1"
    }
    t1=$(spoken 1) t10=$(spoken 10) t10000=$(spoken 10000)

    step "alt+0 from the canvas" "$t10" alt+0
    step "alt+1 from the canvas" "$t1" alt+1
    step "alt+c from the canvas" "$t10000" alt+c
    step "alt+r from the canvas" "Cleared" alt+r
    step "tab to 1 Trapezoid" "$(button "1 Trapezoid")" Tab
    step "enter on a button" "$t1" Return
    step "space on a button" "$t1" space
    step "alt+0 from a button" "$t10" alt+0
    step "alt+r from a button" "Cleared" alt+r
    for name in "2 Trapezoids" "Calculate" "Clear" "Exit"; do
        step "tab to $name" "$(button "$name")" Tab
    done
    step "tab to $box" "$box" Tab
    step "alt+1 from the box" "$t1" alt+1
    step "alt+c from the box" "$t10000" alt+c
    step "the box's second line" "dx= .0003141592654" Down
    step "the box's first line" "Integral Sin(x) [0,pi]= 1.9999999835511" Up
    step "alt+r from the box" "Cleared" alt+r

    # Each result was spoken once for each press, and nothing twice: the whole log.
    count() { grep -o -F "$1" <<<"$(heard)" | wc -l; }
    check "the 1-trapezoid result, once a press" 4 "$(count "$t1")"
    check "the 10-trapezoid result, once a press" 2 "$(count "$t10")"
    check "the 10000-trapezoid result, once a press" 2 "$(count "$t10000")"
    check "Clear, once a press" 3 "$(count "Cleared")"
}
