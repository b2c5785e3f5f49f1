#!/usr/bin/env bash
# Two builds of the committed HEAD by dpkg-buildpackage, from two clones in two
# different folders, must give byte-identical packages (each takes its time,
# SOURCE_DATE_EPOCH, from debian/changelog). Slow (two full builds): .ci/run
# calls it, script/test does not.
#   reproducible.sh [REPO]
set -euo pipefail
repo=$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/../..}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../lib/check.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../script/lib.sh"
mapfile -t build_depends < <(control_build_depends)
ensure_packages "${build_depends[@]}" "${PACKAGE_PACKAGES[@]}" "${REPRODUCIBLE_PACKAGES[@]}"

for where in first "second/deeper"; do
    src="$work/$where/integration-velmar"
    mkdir -p "$(dirname "$src")"
    git clone -q --no-hardlinks "$repo" "$src"
    build_packages "$src/build-package" "$src"
done
first=$(cd "$work/first/integration-velmar/build-package" && ls ./*.deb | sed 's:^\./::')
check "the same packages" "$first" \
    "$(cd "$work/second/deeper/integration-velmar/build-package" && ls ./*.deb | sed 's:^\./::')"
for deb in $first; do
    a="$work/first/integration-velmar/build-package/$deb"
    b="$work/second/deeper/integration-velmar/build-package/$deb"
    echo "$(sha256sum "$a" | cut -d' ' -f1)  $deb"
    cmp -s "$a" "$b" || diffoscope --text - "$a" "$b" 2>&1 | head -60 || true
    check "$deb: the two builds are identical" "same" "$(cmp -s "$a" "$b" && echo same || echo different)"
done
finish reproducible
