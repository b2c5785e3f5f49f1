# Sourced by the shell tests: one line a check, a closing count, and waiting
# for a condition rather than for a fixed time.
passes=0
failures=0

check() { # check NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
    fi
}

# Prints 'NAME: N passed, M failed' and fails when any check did.
finish() {
    echo "$1: $passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}

# poll SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds; fails
# when it has not succeeded within SECONDS.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# start_xvfb LOGFILE: an X server of our own, exported as DISPLAY; its pid in
# xvfb_pid. Tests start side by side: a lock held from choosing a free display
# number until the server answers there keeps two of them off one number.
start_xvfb() {
    local n
    exec {lock}>"${TMPDIR:-/tmp}/integration-velmar-xvfb.lock"
    flock "$lock"
    DISPLAY=
    for n in $(seq 91 199); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then DISPLAY=":$n"; break; fi
    done
    [ -n "$DISPLAY" ] || { echo "no free X display"; return 1; }
    export DISPLAY
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$1" 2>&1 {lock}>&- &
    xvfb_pid=$!
    poll 10 xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start"; cat "$1"; return 1; }
    exec {lock}>&-
}
