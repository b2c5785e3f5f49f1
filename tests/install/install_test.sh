#!/usr/bin/env bash
# The install tree and the Debian package hold exactly what a desktop needs,
# and the desktop entry and AppStream metadata pass their validators.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=io.github.velmar.IntegrationVelmar

source "$(dirname "${BASH_SOURCE[0]}")/../lib/check.sh"

expected=$(sort <<EOF_FILES
usr/bin/integration-velmar
usr/share/applications/$id.desktop
usr/share/icons/hicolor/16x16/apps/$id.png
usr/share/icons/hicolor/32x32/apps/$id.png
usr/share/icons/hicolor/48x48/apps/$id.png
usr/share/icons/hicolor/64x64/apps/$id.png
usr/share/icons/hicolor/128x128/apps/$id.png
usr/share/icons/hicolor/256x256/apps/$id.png
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/metainfo/$id.metainfo.xml
EOF_FILES
)

# --- install into a DESTDIR --------------------------------------------------------
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
check "installed files" "$expected" "$(cd "$work/root" && find . -type f -printf '%P\n' | sort)"
share="$work/root/usr/share"
check "desktop entry validates" "ok" \
    "$(desktop-file-validate "$share/applications/$id.desktop" 2>&1 | grep -v 'hint:' | grep . || echo ok)"
check "metainfo validates" "0" \
    "$(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1; echo $?)"
[ "$failures" -eq 0 ] || cat "$work/as.log"
entry() { sed -n "s/^$1=//p" "$share/applications/$id.desktop"; }
check "entry name" "Integration Velmar" "$(entry Name)"
check "entry icon is the installed one" "$id" "$(entry Icon)"
check "entry runs the installed program" "integration-velmar" "$(entry Exec)"
check "entry categories" "Education;Math;Science;" "$(entry Categories)"
for size in 16 32 48 64 128 256; do
    check "icon $size px" "PNG ${size}x${size}" \
        "$(identify -format '%m %wx%h' "$share/icons/hicolor/${size}x${size}/apps/$id.png")"
done
check "metainfo launches the entry" "$id.desktop" \
    "$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$share/metainfo/$id.metainfo.xml")"

# --- the Debian package ------------------------------------------------------------
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/*.deb)
field() { dpkg-deb -f "$deb" "$1"; }
check "package name" "integration-velmar" "$(field Package)"
check "package version" "1.0.0" "$(field Version)"
check "package architecture" "$(dpkg --print-architecture)" "$(field Architecture)"
check "package file name" "integration-velmar_1.0.0_$(dpkg --print-architecture).deb" "$(basename "$deb")"
check "package maintainer" "1" "$(field Maintainer | grep -c '<.*@.*>')"
check "package summary" "See the trapezoidal rule integrate sin(x)" "$(field Description | head -1)"
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    check "depends on $lib" "1" "$(tr ',' '\n' <<<"$depends" | grep -c "^ *$lib\b" || true)"
done
check "package contents" "$expected" \
    "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's:^\./::' | sort)"

finish install
