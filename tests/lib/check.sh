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
# xvfb_pid. The server picks a free display number itself and writes it to
# -displayfd only once it accepts connections, so nothing probes it (a probe's
# disconnect could race with the program's connect). -noreset keeps it from
# resetting, and dropping a connecting client, when its last client leaves.
start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >"$1" 2>&1 &
    xvfb_pid=$!
    local n=
    read -r -t 10 n <"$fifo" || true
    rm -f "$fifo"
    [ -n "$n" ] || { echo "Xvfb did not start"; cat "$1"; return 1; }
    export DISPLAY=":$n"
}

# accepts SOCKET: the Unix socket exists and a server listens on it (a socket
# file appears at bind, a moment before the server listens).
accepts() {
    python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' "$1" 2>/dev/null
}
