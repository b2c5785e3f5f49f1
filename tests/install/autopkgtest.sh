#!/usr/bin/env bash
# The packages' own tests (debian/tests) on the packages as installed, by
# autopkgtest with its null runner: on this system, which it installs them and
# their test dependencies into (CI runs it in a fresh chroot, and in the
# Debian 13 one). Builds the packages first when FOLDER holds none.
#   autopkgtest.sh [FOLDER]      build-package/ unless given
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../script/lib.sh"
ensure_packages autopkgtest "${PACKAGE_PACKAGES[@]}"
out=$(realpath -m "${1:-build-package}")
compgen -G "$out/*.changes" >/dev/null || {
    mapfile -t build_depends < <(control_build_depends)
    ensure_packages "${build_depends[@]}"
    build_packages "$out"
}
status=0
autopkgtest --summary-file="$out/autopkgtest.summary" "$out"/*.changes -- null >"$out/autopkgtest.log" 2>&1 ||
    status=$?
# 0: every test passed; anything else (2: one was skipped) is a failure here.
[ "$status" -eq 0 ] || tail -60 "$out/autopkgtest.log"
cat "$out/autopkgtest.summary"
exit "$status"
