#!/usr/bin/env bash
# What a screen reader sees: the real program on Xvfb, walked from another
# process through AT-SPI, on a private session bus with its own AT-SPI bus.
#   atspi.sh PROGRAM
set -euo pipefail
program=$1
here=$(dirname "${BASH_SOURCE[0]}")
work=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$here/../lib/check.sh"
start_xvfb "$work/xvfb.log"
export XDG_RUNTIME_DIR="$work"
# dbus-run-session starts the session bus; the AT-SPI bus and registry are
# started on demand through it.
# The buses' own chatter is left out.
status=0
dbus-run-session -- /usr/bin/python3 "$here/atspi_test.py" "$program" >"$work/out.log" 2>&1 || status=$?
grep -v -e '^dbus-daemon' -e '^SpiRegistry' -e '^X connection' "$work/out.log" || true
exit "$status"
