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

# Every wait is for readiness, or for what a check expects, never for a fixed
# time: a busy machine only makes it longer. The one bound, VELMAR_WAIT_BOUND
# seconds (180 unless set), is for a start that hangs or a fault: once a wait
# has run out the run has failed, and the later waits get 5 seconds, so that
# the rest of the report comes before the test's own time limit.
wait_bound=${VELMAR_WAIT_BOUND:-180}

# poll [--while PID] COMMAND...: runs COMMAND every 50 ms until it succeeds;
# fails when the bound passes, or, given PID, once that process has ended
# (after one last try).
poll() {
    local pid=
    if [ "$1" = --while ]; then
        pid=$2
        shift 2
    fi
    local deadline=$((SECONDS + wait_bound))
    until "$@"; do
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
            "$@"
            return
        fi
        [ "$SECONDS" -lt "$deadline" ] || { wait_bound=5; return 1; }
        sleep 0.05
    done
}

# window_of PID NAME: waits until process PID shows a window titled NAME (an
# extended regular expression) and puts its id in wid; fails when the process
# ends first.
window_of() {
    wid=
    shown() { wid=$(xdotool search --onlyvisible --all --pid "$1" --name "$2" 2>/dev/null | head -1) && [ -n "$wid" ]; }
    poll --while "$1" shown "$1" "$2"
}

# start_xvfb LOGFILE: an X server of our own (of XVFB_SCREEN, 1024x768x24 unless set), exported as DISPLAY; its pid in
# xvfb_pid. The server picks a free display number itself and writes it to
# -displayfd only once it accepts connections, so nothing probes it (a probe's
# disconnect could race with the program's connect); the read ends when it
# does, or when the server has ended (the pipe closes). -noreset keeps it from
# resetting, and dropping a connecting client, when its last client leaves.
start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -noreset -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$fifo" >"$1" 2>&1 &
    xvfb_pid=$!
    local n=
    read -r -t "$wait_bound" n <"$fifo" || true
    rm -f "$fifo"
    [ -n "$n" ] || { echo "Xvfb did not start"; cat "$1"; return 1; }
    export DISPLAY=":$n"
}

# accepts SOCKET: the Unix socket exists and a server listens on it (a socket
# file appears at bind, a moment before the server listens).
accepts() {
    python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' "$1" 2>/dev/null
}

# private_session: a desktop session of the test's own in a new folder, $work:
# an X server, HOME and the XDG folders, settings in memory and a session bus.
# Every process started from here on carries VELMAR_TEST_RUN, the D-Bus helpers
# that detach included: on exit each one is found by it and ended by its id.
private_session() {
    work=$(mktemp -d)
    chmod 700 "$work"
    export VELMAR_TEST_RUN="$work"
    trap end_private_session EXIT
    start_xvfb "$work/xvfb.log"
    export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config"
    export XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache"
    export GSETTINGS_BACKEND=memory
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" >"$work/bus.out" 2>&1 &
    local bus_pid=$!
    poll --while "$bus_pid" accepts "$work/bus" || { echo "the session bus did not start"; cat "$work/bus.out"; return 1; }
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
}
end_private_session() {
    local p pids=()
    for p in /proc/[0-9]*; do
        [ "${p#/proc/}" != "$$" ] || continue
        { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qx "VELMAR_TEST_RUN=$work" &&
            pids+=("${p#/proc/}")
    done
    [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null || true
    # Gone before the next test starts: a screen reader still ending would be
    # taken for one already running.
    gone() { # a zombie is gone too: what detached is init's to reap
        local p state
        for p in "${pids[@]}"; do
            state=$(awk '{print $3}' "/proc/$p/stat" 2>/dev/null) || continue
            [ -z "$state" ] || [ "$state" = Z ] || return 1
        done
    }
    # What has not ended a few seconds after it was asked is killed (the
    # seconds only choose between two ways of ending it), and waited for too.
    [ ${#pids[@]} -eq 0 ] || wait_bound=5 poll gone || { kill -KILL "${pids[@]}" 2>/dev/null; poll gone; } || true
    rm -rf "$work"
}
