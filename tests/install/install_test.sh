#!/usr/bin/env bash
# The install tree and the Debian packages hold exactly what a desktop needs,
# and the tools a distribution runs accept them: lintian (pedantic, with its
# notes), hardening-check, desktop-file-validate, appstreamcli and man.
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
usr/share/doc/integration-velmar/LICENSE
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
# gzip -9n: no name and no time stamp in the header.
check "the manual page carries no time stamp" "00000000" \
    "$(od -An -tx1 -j4 -N4 "$work/root/usr/share/man/man1/integration-velmar.1.gz" | tr -d ' ')"

# --- the Debian packages, made by script/package's own build ----------------------
source "$root/script/lib.sh"
build_packages "$work/packages"
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
check "the program's version is the package's" "$version" \
    "$(sed -n 's/^project(integration-velmar VERSION \([^ ]*\).*/\1/p' "$root/CMakeLists.txt")"
arch=$(dpkg --print-architecture)
deb="$work/packages/integration-velmar_${version}_$arch.deb"
web="$work/packages/integration-velmar-web_${version}_all.deb"
check "the packages built" "integration-velmar-dbgsym_${version}_$arch.deb
integration-velmar-web_${version}_all.deb
integration-velmar_${version}_$arch.deb" "$(cd "$work/packages" && ls -1 ./*.deb | sed 's:^\./::')"
field() { dpkg-deb -f "$1" "$2"; }
check "architecture" "$arch all" "$(field "$deb" Architecture) $(field "$web" Architecture)"
check "recommends the Wayland platform" "qt6-wayland" "$(field "$deb" Recommends)"
check "no home page that does not exist" "" "$(field "$deb" Homepage)"
check "summary" "see the trapezoidal rule integrate sin(x)" "$(field "$deb" Description | head -1)"
depends=$(field "$deb" Depends)
# Debian 13 renamed libqt6core6 to libqt6core6t64 (64-bit time): either name.
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    check "depends on $lib" "1" \
        "$(tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -cxF -e "$lib" -e "${lib}t64" || true)"
done
contents() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}' | sed 's:^\./::' | sort; }
# Debian's own tools compress the guide, add the changelog and put the
# package's copyright file in the licence's place.
check "the desktop package's contents" \
    "$(sed -e 's:teaching.md$:teaching.md.gz:' -e 's:/LICENSE$:/copyright:' -e '$a usr/share/doc/integration-velmar/changelog.gz' <<<"$expected" | sort)" \
    "$(contents "$deb")"
check "the browser edition's contents" "usr/share/doc/integration-velmar-web/changelog.gz
usr/share/doc/integration-velmar-web/copyright
usr/share/doc/integration-velmar-web/teaching.md.gz
usr/share/doc/integration-velmar-web/ten-trapezoids.png
usr/share/integration-velmar/integration-velmar-scorm12.zip
usr/share/integration-velmar/integration-velmar.html
$(cd "$work/packages/integration-velmar-$version/debian/build-web" && find site -type f | sed 's:^:usr/share/integration-velmar/:' | sort)
usr/share/lintian/overrides/integration-velmar-web" "$(contents "$web")"
dpkg-deb -x "$deb" "$work/installed"
dpkg-deb -x "$web" "$work/installed"
check "the packaged browser edition is the built file" "same" \
    "$(cmp -s "$work/installed/usr/share/integration-velmar/integration-velmar.html" \
        "$work/packages/integration-velmar-$version/debian/build-web/integration-velmar.html" && echo same)"
program="$work/installed/usr/bin/integration-velmar"
# Built with Debian's flags, all of its hardening.
check "hardening" "PIE yes, stack protector yes, fortify yes, relro yes, bind now yes" \
    "$(hardening-check "$program" | sed -n -E 's/^ (Position Independent Executable|Stack protected|Fortify Source functions|Read-only relocations|Immediate binding): ([a-z]+).*/\1 \2/p' |
        sed -e 's/Position Independent Executable/PIE/; s/Stack protected/stack protector/' \
            -e 's/Fortify Source functions/fortify/; s/Read-only relocations/relro/; s/Immediate binding/bind now/' |
        paste -sd, - | sed 's/,/, /g')"
# Stack clash and control-flow protection on amd64: each unit of the program
# records both flags in its debug symbols. hardening-check says yes to control
# flow only where the C library's start files carry the marks too (neither
# Debian 12's nor 13's do, so it says no there for every program, dpkg
# included), and finds stack clash probes only in a frame larger than a page,
# which this program does not have.
if [ "$arch" = amd64 ]; then
    dpkg-deb -x "$work/packages/integration-velmar-dbgsym_${version}_$arch.deb" "$work/dbgsym"
    producers=$(find "$work/dbgsym" -name '*.debug' -exec readelf --debug-dump=info {} + 2>/dev/null | grep 'DW_AT_producer.*GNU C')
    check "each unit built with stack clash and control-flow protection" "yes" \
        "$([ -n "$producers" ] && ! grep -v -e '-fstack-clash-protection.*-fcf-protection=full' <<<"$producers" >/dev/null && echo yes)"
    check "control flow integrity, where the start files are marked" \
        "$(readelf -n /usr/lib/x86_64-linux-gnu/Scrt1.o | grep -q 'IBT, SHSTK' && echo yes || echo no)" \
        "$(hardening-check "$program" | sed -n 's/^ Control flow integrity: \([a-z]*\).*/\1/p')"
fi
check "no run-time search path" "" "$(readelf -d "$program" | grep -E 'RPATH|RUNPATH' || true)"
simulated=0
apt-get install --simulate -qq "$deb" "$web" >"$work/simulate.log" 2>&1 || { simulated=$?; cat "$work/simulate.log"; }
check "installs here (its dependencies resolve)" "0" "$simulated"
# lintian as Debian's archive runs it, pedantic and with its notes: nothing but
# what debian/*.lintian-overrides overrides with its reason (root draws a note
# of its own on standard error). The one source builds for Debian 12 and 13:
# the override Debian 13's lintian needs (its newer policy) is unused on 12's.
check "lintian --pedantic --display-info says nothing" "" \
    "$(lintian --pedantic --display-info "$work/packages/integration-velmar_${version}_$arch.changes" 2>/dev/null |
        grep -v -e '^I: integration-velmar source: unused-override out-of-date-standards-version ' \
                -e '^N: 0 hints overridden; 1 unused override$' || true)"

finish install
