#!/usr/bin/env bash
# Builds the Debian package of the build folder with CPack (the binaries as
# they are built there, stripped) and checks its file list and its fields
# with dpkg-deb: the package name, the installed layout under /usr, and the
# dependencies on Qt's libraries and plugins, the fonts, the CUPS client and
# the libraries the program links.
# Usage: package-test.sh BUILD_DIR
set -euo pipefail
build=$1
id=org.quorvel.QuorvelA5
work=$(mktemp -d /var/tmp/rud-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
debs=("$work"/quorvel-a5_*.deb)
[ -f "${debs[0]}" ] || fail "no quorvel-a5_*.deb in $(ls "$work")"
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Package)" = quorvel-a5 ] || fail "package name"
files=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in ./usr/bin/Quorvel_A5 ./usr/bin/rudreport ./usr/share/quorvel-a5/shablon.fr3 \
            ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/icons/hicolor/48x48/apps/$id.png; do
  grep -qxF "$file" <<<"$files" || fail "$file missing from the package"
done
# Nothing outside /usr (no build paths, no test programs).
if grep -v '^\./usr/' <<<"$files" | grep -qv '^\./$'; then
  fail "files outside /usr: $(grep -v '^\./usr/' <<<"$files" | tr '\n' ' ')"
fi
grep -q test_ <<<"$files" && fail "test programs in the package"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6sql6 libqt6sql6-sqlite \
               libqt6sql6-psql qt6-qpa-plugins fonts-liberation fonts-wine cups-client libzip4 libxlsxwriter4 libicu72; do
  grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
# The XLSX libraries load on first use: neither the program nor its windows
# library links them, so that every start does not pay their loading. The
# program itself does not link Qt's widgets or printing either: its windows
# library does, loaded by the runs that need it.
dpkg-deb -x "$deb" "$work/root"
windows=$work/root/usr/lib/quorvel-a5/quorvel-a5-windows.so
[ -f "$windows" ] || fail "the windows library is not under /usr/lib/quorvel-a5"
needed=$(objdump -p "$work/root/usr/bin/Quorvel_A5" | awk '/NEEDED/ { print $2 }')
grep -qE "libzip|libxlsxwriter|Widgets|PrintSupport" <<<"$needed" && fail "Quorvel_A5 links what it loads on demand: $needed"
grep -qE "libzip|libxlsxwriter" <<<"$(objdump -p "$windows" | awk '/NEEDED/ { print $2 }')" &&
  fail "the windows library links the XLSX libraries"
echo "$(basename "$deb"): $(wc -l <<<"$files") entries; Depends: $depends"
