#!/usr/bin/env bash
# Two clean builds of the committed HEAD, in two different folders, with
# SOURCE_DATE_EPOCH taken from the commit, must give byte-identical packages.
# Slow (two full builds): .ci/run calls it, script/test does not.
#   reproducible.sh [REPO]
set -euo pipefail
repo=$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/../..}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../lib/check.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../script/lib.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${REPRODUCIBLE_PACKAGES[@]}"

SOURCE_DATE_EPOCH=$(git -C "$repo" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
debs=()
for where in first "second/deeper"; do
    src="$work/$where/integration-velmar"
    mkdir -p "$(dirname "$src")"
    git clone -q --no-hardlinks "$repo" "$src"
    cmake -S "$src" -B "$src/build" -G Ninja -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$src/build" --target package >"$work/build.log" 2>&1 ||
        { cat "$work/build.log"; exit 1; }
    debs+=("$(ls "$src"/build/*.deb)")
done
echo "$(sha256sum "${debs[0]}" | cut -d' ' -f1)  first build"
echo "$(sha256sum "${debs[1]}" | cut -d' ' -f1)  second build"
if ! cmp -s "${debs[0]}" "${debs[1]}"; then
    diffoscope --text - "${debs[0]}" "${debs[1]}" 2>&1 | head -60 || true
fi
check "the two packages are identical" "same" \
    "$(cmp -s "${debs[0]}" "${debs[1]}" && echo same || echo different)"
finish reproducible
