#!/usr/bin/env bash
# Runs a command beside WebKitGTK's browser: an X server of its own and a
# session bus, which the browser needs.
#   webkit.sh COMMAND...
set -euo pipefail
work=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../lib/check.sh"
start_xvfb "$work/xvfb.log"
export XDG_RUNTIME_DIR="$work"
# As root, WebKit's DMA-BUF renderer cannot start on Xvfb.
[ "$(id -u)" -ne 0 ] || export WEBKIT_DISABLE_DMABUF_RENDERER=1
dbus-run-session -- "$@" 2> >(grep -v -e '^dbus-daemon' -e '^SpiRegistry' >&2)
