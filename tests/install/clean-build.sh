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

# --- the build, with only the declared build dependencies ------------------------
prepare build
in_root "$work/build" bash -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends build-essential >/dev/null &&
    dpkg-query -W -f='\${Package}\n' | sort >/build/before.txt &&
    apt-get build-dep -y -qq --no-install-recommends ./build/$dsc >/dev/null &&
    cd /build && dpkg-source -x $dsc src >/dev/null && cd src && dpkg-buildpackage -us -uc >../build.log 2>&1" ||
    { tail -40 "$work/build/build/build.log" 2>/dev/null; exit 1; }
check "$suite: built in a clean chroot" "yes" \
    "$(ls "$work/build/build/integration-velmar_${version}_"*.deb >/dev/null 2>&1 && echo yes || echo no)"
echo "$suite: the build installed $(($(in_root "$work/build" dpkg-query -W -f='${Package}\n' | wc -l) - $(wc -l <"$work/build/build/before.txt"))) packages beside build-essential"

# --- autopkgtest on a fresh install ----------------------------------------------
prepare test
cp "$work/build/build/"*.deb "$work/build/build/"*.changes "$work/build/build/"*.buildinfo "$work/test/build/"
status=0
in_root "$work/test" bash -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends autopkgtest >/dev/null &&
    autopkgtest --summary-file=/build/summary /build/integration-velmar_${version}_*.changes -- null >/build/autopkgtest.log 2>&1" ||
    status=$?
[ "$status" -eq 0 ] || tail -60 "$work/test/build/autopkgtest.log"
cat "$work/test/build/summary" 2>/dev/null || true
check "$suite: autopkgtest on a fresh install" "0" "$status"
finish "clean-build $suite"
