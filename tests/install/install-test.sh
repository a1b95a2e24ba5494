#!/usr/bin/env bash
# Installs the build into a temporary prefix, makes the installed tree
# read-only and runs the installed program from it as a user who does not
# own it: when run as root (which ignores file modes) the program runs as
# "nobody" through setpriv, else as the current user. Checks the layout,
# the menu entry and the AppStream file with their validators, a --pdf of a
# certificate read back with pdftotext, the user's copy of the template
# made on the first print, and the shipped template left as installed.
# Usage: install-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
id=org.quorvel.QuorvelA5
work=$(mktemp -d /var/tmp/rud-install-XXXXXX)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
prefix=$work/prefix
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" --strip >/dev/null

for file in bin/Quorvel_A5 bin/rudreport lib/quorvel-a5/quorvel-a5-windows.so share/quorvel-a5/shablon.fr3 \
            share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg; do
  [ -f "$prefix/$file" ] || fail "$file not installed"
done
# Each PNG icon is as large as its folder says (the PNG header's width and
# height, big-endian, at bytes 16..23).
for size in 16 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$png" ] || fail "icon $size not installed"
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "icon $size is ${width}x$height"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -q '^Name\[ru\]=' "$prefix/share/applications/$id.desktop" || fail "no Russian name in the menu entry"
grep -q '^Categories=Office;' "$prefix/share/applications/$id.desktop" || fail "not in the Office category"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null || fail "appstreamcli validate"

chmod -R a-w "$prefix"
home=$work/home
mkdir -p "$home/run" "$work/in"
chmod 700 "$home/run"
cat > "$work/in/a.vod" <<'VOD'
[Слева]
edit_1=Автошкола
edit_2=
edit_3=г. Тверь
edit_4=АБ
edit_5=Иванов Иван
edit_6=категории В
edit_7=водитель
edit_8=B
edit_9=Петров П. П.
edit_10=17
date1=03.05.2015
date2=28.07.2015
date3=01.09.2015
date4=31.08.2015
[Таблица]
edt_1=10
edt_2=20
edt_3=3
edt_4=4
edt_5=5
edt_6=6
edt_7=7
edt_8=8
edt_9=9
edt_10=0
edt_11=72
VOD
chmod -R a+rX "$work/in"
as_user=() user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  user=nobody
  chown -R nobody:nogroup "$home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  "${as_user[@]}" test ! -w "$prefix/share/quorvel-a5" || fail "the install tree is writable for the program's user"
fi
run() {
  env HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
      XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen "${as_user[@]}" "$@"
}
run "$prefix/bin/Quorvel_A5" --pdf "$work/in/a.vod" "$home/a.pdf" || fail "the installed --pdf failed"
text=$(pdftotext "$home/a.pdf" -)
for word in Иванов Тверь Петров; do
  grep -q "$word" <<<"$text" || fail "the PDF lacks $word"
done
cmp -s "$prefix/share/quorvel-a5/shablon.fr3" "$source/resources/shablon.fr3" || fail "the shipped template changed"
cmp -s "$home/.local/share/Quorvel_A5/shablon.fr3" "$source/resources/shablon.fr3" ||
  fail "the first print did not make the user's copy of the template"
# Every command but --pdf runs in the windows library: the installed
# program finds it.
run "$prefix/bin/Quorvel_A5" --help >/dev/null || fail "the installed Quorvel_A5 --help failed"
run "$prefix/bin/rudreport" --help >/dev/null || fail "the installed rudreport --help failed"
echo "installed tree under $prefix: layout, validators, --pdf as $user passed"
