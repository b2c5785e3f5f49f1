#!/usr/bin/env bash
# Runs a command with the network off: in a network namespace of its own with
# only loopback up, where the browsers' driver connects. Needs root; elsewhere
# the command runs as it is, and the page's requests are still checked.
#   run.sh COMMAND...
set -euo pipefail
if [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null && command -v ip >/dev/null; then
    exec unshare --net bash -c 'ip link set lo up && exec "$@"' run.sh "$@"
fi
exec "$@"
