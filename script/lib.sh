# Shared by the scripts in script/ and the package tests: install what is
# missing, then configure and build. Sourced, not run.
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
REPRODUCIBLE_PACKAGES=(git diffoscope-minimal)
# What dpkg-buildpackage needs beside debian/control's Build-Depends, and the
# package checks.
PACKAGE_PACKAGES=(build-essential debhelper dpkg-dev lintian devscripts git)
BENCH_PACKAGES=(libbenchmark-dev)
WEB_PACKAGES=(emscripten cmake ninja-build python3 python3-markdown)
WEB_TEST_PACKAGES=(chromium firefox-esr webkit2gtk-driver dbus xvfb xauth iproute2 googletest)

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

# Configures when the tree is new or was last configured with other options
# (script/run and script/test share build/), then builds only what changed; a
# changed CMakeLists.txt makes the build configure again by itself.
build() {
    local dir="$1"; shift
    if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/.configured-with" 2>/dev/null)" != "$*" ]; then
        cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
        echo "$*" >"$dir/.configured-with"
    fi
    cmake --build "$dir"
}

# The browser edition, in build-web/: the core compiled to WebAssembly and
# written into one page, build-web/integration-velmar.html.
build_web() {
    # Debian's emscripten finds its JavaScript parser only through NODE_PATH.
    export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
    # With no options any configured tree will do (script/test's has the tests too).
    if [ ! -f build-web/build.ninja ] ||
        { [ $# -gt 0 ] && [ "$(cat build-web/.configured-with 2>/dev/null)" != "$*" ]; }; then
        emcmake cmake -S "$ROOT" -B build-web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel "$@" >/dev/null
        echo "$*" >build-web/.configured-with
    fi
    cmake --build build-web
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
