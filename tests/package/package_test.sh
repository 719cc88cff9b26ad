#!/usr/bin/env bash
# The Debian package of the build: it holds the programs, the desktop entry,
# the icon, the metainfo and the manual pages, its library dependencies are
# read off the binaries, and what it holds runs and validates. It is unpacked
# into a scratch folder, not installed, since the suite may run on a user's
# machine; as root, dpkg says whether it would install.
set -euo pipefail
build=$1 samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(tail -n 5 "$work/cpack.log")"
deb=$(ls "$work"/tabulon_*_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in 'libc6 ' 'libqt6widgets6 ' 'libwayland-client0 ' 'fonts-ipafont-gothic |'; do
  grep -qF "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
for file in bin/tabulon bin/tabulon-filter share/applications/org.tabulon.Tabulon.desktop \
  share/metainfo/org.tabulon.Tabulon.metainfo.xml \
  share/icons/hicolor/64x64/apps/org.tabulon.Tabulon.png \
  share/man/man1/tabulon-filter.1.gz share/man/man1/tabulon.1.gz; do
  [ -s "$root/usr/$file" ] || fail "the package lacks /usr/$file"
done

# The packed filter makes the table the tested one makes.
table() { "$1" --rules box --title 価格表 --wrap slash <"$samples/spreadsheet.txt"; }
[ "$(table "$root/usr/bin/tabulon-filter")" = "$(table "$build/bin/tabulon-filter")" ] ||
  fail "the packed tabulon-filter writes another table"

desktop-file-validate "$root/usr/share/applications/org.tabulon.Tabulon.desktop" ||
  fail "the desktop entry does not validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tabulon.Tabulon.metainfo.xml" \
  >"$work/metainfo.log" 2>&1 || fail "the metainfo does not validate: $(cat "$work/metainfo.log")"
for page in tabulon-filter tabulon; do
  zcat "$root/usr/share/man/man1/$page.1.gz" | groff -Tutf8 -K utf8 -t -man -ww -z 2>&1 |
    { ! grep .; } || fail "groff warns about the packed $page.1"
done
if [ "$(id -u)" -eq 0 ]; then
  dpkg --dry-run -i "$deb" >"$work/dpkg.log" 2>&1 || fail "dpkg would not install it: $(cat "$work/dpkg.log")"
fi
echo "ok: $(dpkg-deb -f "$deb" Package Version Installed-Size | tr '\n' ' ')"
