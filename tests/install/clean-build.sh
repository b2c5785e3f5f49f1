#!/usr/bin/env bash
# The source package built where nothing but build-essential and its declared
# Build-Depends is installed: a fresh Debian 12 chroot (debootstrap's buildd
# variant, from this machine's mirror), so a missing build dependency fails the
# build. Then the packages' own tests on a fresh install, in a second fresh copy
# of that chroot: autopkgtest's null runner there, where only the packages,
# their test dependencies and autopkgtest get installed. Needs root. Slow (a
# new chroot and two installs): .ci/run calls it, script/test does not.
#   clean-build.sh [SUITE]       bookworm unless given
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../lib/check.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../script/lib.sh"
suite=${1:-bookworm}
ensure_packages debootstrap "${PACKAGE_PACKAGES[@]}"
work=$(mktemp -d /var/tmp/velmar-clean-build.XXXXXX)
mounts=()
cleanup() {
    local i
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" 2>/dev/null || true
    done
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT

# The source package, from this tree.
version=$(dpkg-parsechangelog -l debian/changelog -S Version)
build_packages "$work/from-tree" "$ROOT" -S -d
# And the tree itself, at the same moment, for script/package.
mkdir "$work/tree"
git -C "$ROOT" ls-files -z -co --exclude-standard | tar -C "$ROOT" --null -T - --owner=0 --group=0 -cf - .git |
    tar -C "$work/tree" -xf -
dsc="integration-velmar_$version.dsc"

echo "A fresh $suite chroot (buildd) from $(debian_mirror)"
debootstrap --variant=buildd "$suite" "$work/base" "$(debian_mirror)" >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log"; exit 1; }
cp /etc/resolv.conf "$work/base/etc/resolv.conf" 2>/dev/null || true
if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
    mkdir -p "$work/base/usr/local/share/ca-certificates"
    cp /usr/local/share/ca-certificates/*.crt "$work/base/usr/local/share/ca-certificates/"
fi
in_root() { # in_root ROOT COMMAND...
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb DEBIAN_FRONTEND=noninteractive \
        PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
prepare() { # prepare NAME: a copy of the fresh chroot, its kernel folders mounted
    cp -a "$work/base" "$work/$1"
    local m
    for m in proc sys dev dev/pts dev/shm; do
        mount --bind "/$m" "$work/$1/$m"
        mounts+=("$work/$1/$m")
    done
    mkdir -p "$work/$1/build"
    cp "$work/from-tree/$dsc" "$work/from-tree/integration-velmar_$version.tar.xz" "$work/$1/build/"
}

# --- built as a build daemon builds, then by script/package -------------------------
# The daemon's builds: a user that is not root, HOME pointing nowhere, no network
# (a network namespace of its own). -B first, with nocheck and only the
# architecture's build dependencies, so neither emscripten nor the tests' own
# packages are there; -A after script/package has installed the rest.
prepare build
cp -a "$work/tree" "$work/build/build/tree"
daemon() { # daemon FOLDER DPKG-BUILDPACKAGE-ARGUMENT...
    local folder=$1
    shift
    in_root "$work/build" unshare -n runuser -u builder -- env HOME=/nonexistent DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-}" \
        bash -c 'cd "$0" && tail -n +3 /proc/net/dev | cut -d: -f1 | tr -d " " >../network.txt && dpkg-buildpackage -us -uc "$@" >../build.log 2>&1' "$folder" "$@"
}
in_root "$work/build" bash -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends build-essential >/dev/null &&
    dpkg-query -W -f='\${Package}\n' | sort >/build/before.txt &&
    apt-get build-dep -y -qq --no-install-recommends --arch-only -P nocheck ./build/$dsc >/dev/null &&
    useradd --system --no-create-home --home-dir /nonexistent builder && mkdir /build/daemon && chown builder /build/daemon &&
    cd /build/daemon && runuser -u builder -- dpkg-source -x ../$dsc src >/dev/null"
DEB_BUILD_OPTIONS=nocheck daemon /build/daemon/src -B -Pnocheck || { tail -40 "$work/build/build/daemon/build.log"; exit 1; }
check "$suite: -B without emscripten, without network, as a user with no home" "lo: not installed" \
    "$(cat "$work/build/build/daemon/network.txt"): $(in_root "$work/build" dpkg-query -W -f='${Status}' emscripten 2>/dev/null || echo not installed)"
check "$suite: nocheck runs no test" "0" "$(grep -c 'core_tests' "$work/build/build/daemon/build.log" || true)"
in_root "$work/build" /build/tree/script/package /build/pkg >"$work/package.log" 2>&1 ||
    { tail -40 "$work/package.log"; exit 1; }
check "$suite: script/package alone builds in a fresh chroot, the core's tests included" "1" \
    "$(grep -c '100% tests passed' "$work/build/build/pkg/build.log" || true)"
echo "$suite: the build installed $(($(in_root "$work/build" dpkg-query -W -f='${Package}\n' | wc -l) - $(wc -l <"$work/build/build/before.txt"))) packages beside build-essential"
daemon /build/daemon/src -A || { tail -40 "$work/build/build/daemon/build.log"; exit 1; }
# Two builds in two folders, by two users, with and without the tests: the same bytes.
for deb in $(cd "$work/build/build/pkg" && ls ./*.deb | sed 's:^\./::'); do
    check "$suite: $deb, as the build daemon built it" "same" \
        "$(cmp -s "$work/build/build/pkg/$deb" "$work/build/build/daemon/$deb" && echo same || echo different)"
done

# --- autopkgtest on a fresh install ----------------------------------------------
prepare test
cp "$work/build/build/pkg/"*.deb "$work/build/build/pkg/"*.changes "$work/build/build/pkg/"*.buildinfo "$work/test/build/"
status=0
in_root "$work/test" bash -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends autopkgtest >/dev/null &&
    autopkgtest --summary-file=/build/summary /build/integration-velmar_${version}_*.changes -- null >/build/autopkgtest.log 2>&1" ||
    status=$?
[ "$status" -eq 0 ] || tail -60 "$work/test/build/autopkgtest.log"
cat "$work/test/build/summary" 2>/dev/null || true
check "$suite: autopkgtest on a fresh install" "0" "$status"
finish "clean-build $suite"
