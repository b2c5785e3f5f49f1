# Shared by the scripts in script/ and by the test scripts that build or test
# (tests/install/, tests/lib/selfcheck.sh): install what is missing, then
# configure and build. Sourced, not run.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev libgl-dev fonts-dejavu-core)
TEST_PACKAGES=(libgtest-dev libgmock-dev qt6-base-private-dev xvfb xauth xdotool x11-utils imagemagick xclip
               desktop-file-utils appstream locales file dpkg-dev lintian man-db
               build-essential debhelper devscripts emscripten git
               dbus python3-pyatspi at-spi2-core weston qt6-wayland orca speech-dispatcher
               x11-xkb-utils python3-xlib ibus ibus-anthy
               fonts-cantarell fonts-noto-cjk x11-xserver-utils mutter kwin-x11 openbox)
# What dpkg-buildpackage needs beside debian/control's Build-Depends, and the
# package checks.
PACKAGE_PACKAGES=(build-essential debhelper dpkg-dev lintian devscripts git)
BENCH_PACKAGES=(libbenchmark-dev)
WEB_PACKAGES=(emscripten cmake ninja-build python3 python3-markdown librsvg2-bin)
WEB_TEST_PACKAGES=(chromium firefox-esr webkit2gtk-driver dbus xvfb xauth iproute2 googletest)
# The Windows edition: the cross-compiler, wixl for the MSI, musl's sine (its
# sources come with emscripten); Wine and an X server for its tests.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64 wixl msitools emscripten cmake ninja-build)
WINDOWS_TEST_PACKAGES=(wine wine64 googletest xvfb xauth xdotool x11-utils imagemagick)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The mirror this machine's apt already uses for Debian itself (not security),
# for chroots of other releases made with debootstrap.
debian_mirror() {
    local uri
    uri=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list \
              /etc/apt/sources.list | grep -v security |
          sed -E 's/^URIs:[[:space:]]*//; s/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?//' |
          awk '{print $1; exit}')
    echo "${uri:-http://deb.debian.org/debian}"
}

# The packages debian/control's Build-Depends and Build-Depends-Indep name,
# one a line (debhelper for its compatibility level): the one list of what the
# packages build with.
control_build_depends() {
    awk '/^Build-Depends(-Indep)?:/ {on = 1; sub(/^[A-Za-z-]+:/, "")} /^[A-Za-z-]+:/ && !/^Build-Depends/ {on = 0}
         on {print}' "$ROOT/debian/control" | tr ',' '\n' |
        sed -E 's/[[(<].*//; s/^[[:space:]]+//; s/[[:space:]]+$//; s/^debhelper-compat$/debhelper/' | grep .
}

# Installs the Debian packages that are not installed yet; quiet when none is missing.
ensure_packages() {
    local installed missing=()
    # One query for all: a package dpkg has never heard of is simply not listed.
    installed=$(dpkg-query -W -f='${Package} ${Status}\n' "$@" 2>/dev/null |
        sed -n 's/^\([^ ]*\) install ok installed$/\1/p' || true)
    for p in "$@"; do
        grep -qx -- "$p" <<<"$installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# build DIR [OPTION...] builds the desktop's tree DIR; build_web [OPTION...] the
# browser edition's, build-web/ (its page build-web/integration-velmar.html).
# One rule for both: a tree is configured when it is new, or when options are
# given that differ from those it was last configured with (given none, any
# configured tree will do: script/test's has the tests too); then only what
# changed is built, and a changed CMakeLists.txt configures again by itself.
build() {
    configure_and_build "" "$@"
}

build_web() {
    # Debian's emscripten finds its JavaScript parser only through NODE_PATH.
    export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
    configure_and_build emcmake build-web "$@"
}

# The Windows edition's tree, build-win/ (its build-win/integration-velmar-*.msi),
# cross-compiled; its icon is the one the desktop's tree draws.
build_windows() {
    configure_and_build "" build-win -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DVELMAR_ICON="$ROOT/build/icons/integration-velmar.ico" "$@"
}

configure_and_build() { # LAUNCHER DIR [OPTION...]
    local launcher=$1 dir=$2
    shift 2
    if [ ! -f "$dir/build.ninja" ] ||
        { [ $# -gt 0 ] && [ "$(cat "$dir/.configured-with" 2>/dev/null)" != "$*" ]; }; then
        ${launcher} cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
        echo "$*" >"$dir/.configured-with"
    fi
    cmake --build "$dir"
}

# The browser tests' own packages (puppeteer-core, axe-core), as the lockfile
# pins them; npm comes with Node.js, which emscripten brings.
web_test_modules() {
    command -v npm >/dev/null || ensure_packages npm
    if ! cmp -s tests/web/package-lock.json tests/web/node_modules/.installed-lock.json; then
        (cd tests/web && npm ci --no-audit --no-fund --loglevel=error &&
            cp package-lock.json node_modules/.installed-lock.json)
    fi
}

# Whether a configured tree has any of the tests CTest's arguments select (all
# of them, given none), as CTest lists them in JSON.
has_tests() {
    local dir="$1"; shift
    (cd "$dir" && ctest --show-only=json-v1 "$@") |
        python3 -c 'import json, sys; sys.exit(0 if json.load(sys.stdin)["tests"] else 1)'
}

# Runs the tests of a configured and built tree; fails, naming each failed case,
# when any fails. script/test ends here, and the self-check calls it alone.
run_tests() {
    local dir="$1"; shift
    (cd "$dir" && ctest --output-on-failure --no-tests=error -j2 "$@")
}

# The Debian packages, source and binary, from the files of a tree (those git
# tracks and the new ones it does not ignore), built by dpkg-buildpackage in
# OUT; further arguments go to dpkg-buildpackage (-S -d: the source package
# alone). Prints nothing but the build's failure.
#   build_packages OUT [TREE [ARGUMENT...]]      TREE: this one unless given
build_packages() {
    local out=$1 tree=${2:-$ROOT} version src
    shift $(($# < 2 ? $# : 2))
    version=$(dpkg-parsechangelog -l "$tree/debian/changelog" -S Version)
    src="$out/integration-velmar-$version"
    rm -rf "$out"
    mkdir -p "$src"
    git -C "$tree" ls-files -z -co --exclude-standard | while IFS= read -r -d '' f; do
        [ -e "$tree/$f" ] && printf '%s\0' "$f"
    done | tar -C "$tree" --null -T - -cf - | tar -C "$src" -xf -
    (cd "$src" && dpkg-buildpackage -us -uc "$@") >"$out/build.log" 2>&1 ||
        { tail -40 "$out/build.log"; echo "dpkg-buildpackage failed: $out/build.log" >&2; return 1; }
}
