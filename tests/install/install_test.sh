#!/usr/bin/env bash
# The install tree and the Debian package hold exactly what a desktop needs, and
# the tools a distribution runs accept them: lintian, desktop-file-validate,
# appstreamcli and man.
#   install_test.sh BUILD_DIR ICON-SIZES (16,32,...: the theme's sizes, from icons/)
set -euo pipefail
build=$(cd "$1" && pwd)
icon_sizes=${2//,/ }
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=io.github.velmar.IntegrationVelmar

source "$(dirname "${BASH_SOURCE[0]}")/../lib/check.sh"

expected=$(sort <<EOF_FILES
usr/bin/integration-velmar
usr/share/applications/$id.desktop
usr/share/doc/integration-velmar/changelog.gz
usr/share/doc/integration-velmar/copyright
usr/share/doc/integration-velmar/teaching.md
usr/share/doc/integration-velmar/ten-trapezoids.png
$(for s in $icon_sizes; do echo "usr/share/icons/hicolor/${s}x${s}/apps/$id.png"; done)
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/man/man1/integration-velmar.1.gz
usr/share/metainfo/$id.metainfo.xml
EOF_FILES
)

# --- install into a DESTDIR --------------------------------------------------------
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
check "installed files" "$expected" "$(cd "$work/root" && find . -type f -printf '%P\n' | sort)"
share="$work/root/usr/share"
check "desktop entry validates without a word" "" \
    "$(desktop-file-validate "$share/applications/$id.desktop" 2>&1)"
check "metainfo validates" "0" \
    "$(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1; echo $?)"
[ "$failures" -eq 0 ] || cat "$work/as.log"
entry() { sed -n "s/^$1=//p" "$share/applications/$id.desktop"; }
check "entry name" "Integration Velmar" "$(entry Name)"
check "entry icon is the installed one" "$id" "$(entry Icon)"
check "entry runs the installed program" "integration-velmar" "$(entry Exec)"
check "entry categories" "Education;Math;" "$(entry Categories)"
for size in $icon_sizes; do
    check "icon $size px" "PNG ${size}x${size}" \
        "$(identify -format '%m %wx%h' "$share/icons/hicolor/${size}x${size}/apps/$id.png")"
done
check "metainfo launches the entry" "$id.desktop" \
    "$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$share/metainfo/$id.metainfo.xml")"
check "manual page renders without a warning" "" \
    "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$share/man/man1/integration-velmar.1.gz" 2>&1 >/dev/null)"
check "manual page names the program" "1" \
    "$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$share/man/man1/integration-velmar.1.gz" 2>/dev/null | grep -c '^NAME$')"
for f in usr/share/man/man1/integration-velmar.1.gz usr/share/doc/integration-velmar/changelog.gz; do
    # gzip -9n: no name and no time stamp in the header.
    check "$f carries no time stamp" "00000000" "$(od -An -tx1 -j4 -N4 "$work/root/$f" | tr -d ' ')"
done

# --- the Debian package, made by the README's own command ---------------------------
command=$(sed -n 's/^\(cmake --build build --target package\)\( .*\)\{0,1\}$/\1/p' "$root/README.md")
check "README gives the package command" "cmake --build build --target package" "$command"
# The same command, with this build folder in the place of build/.
(cd "$(dirname "$build")" && ${command/ build / $(basename "$build") } >"$work/package.log" 2>&1) ||
    { cat "$work/package.log"; exit 1; }
deb="$build/integration-velmar_1.0.0_$(dpkg --print-architecture).deb"
check "the package is where the README installs it from" "yes" "$([ -f "$deb" ] && echo yes || echo no)"
field() { dpkg-deb -f "$deb" "$1"; }
check "package name" "integration-velmar" "$(field Package)"
check "package version" "1.0.0" "$(field Version)"
check "package architecture" "$(dpkg --print-architecture)" "$(field Architecture)"
check "package recommends the Wayland platform" "qt6-wayland" "$(field Recommends)"
check "package maintainer" "1" "$(field Maintainer | grep -c '<.*@.*>')"
check "package summary" "See the trapezoidal rule integrate sin(x)" "$(field Description | head -1)"
depends=$(field Depends)
# Debian 13 renamed libqt6core6 to libqt6core6t64 (64-bit time): either name.
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    check "depends on $lib" "1" \
        "$(tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -cxF -e "$lib" -e "${lib}t64" || true)"
done
check "package contents" "$expected" \
    "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's:^\./::' | sort)"
# lintian as a distribution runs it: no error and no warning (root draws a note
# of its own on standard error).
check "lintian has no error or warning" "" \
    "$(lintian --fail-on none "$deb" 2>/dev/null | grep -E '^[EW]: ' || true)"

finish install
