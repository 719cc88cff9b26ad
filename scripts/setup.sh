#!/usr/bin/env bash
# Builds Tabulon and starts it (`start`), builds it and runs every test
# (`test`), or builds its Debian package (`package`). Installs the Debian
# packages it needs first; that step does nothing when they are present.
set -euo pipefail

cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in
  start|test|package) ;;
  *) echo "usage: $0 start|test|package" >&2; exit 2 ;;
esac

# Building and running the program (libxcb1-dev: the clipboard holder asks the X
# server about a clipboard manager; libicu-dev: the Japanese era of a date;
# libxml2-dev: HTML tables off the clipboard; libwayland-dev: the Wayland
# clipboard where the compositor lets a program without a window at it;
# qt6-translations-l10n: the toolkit's own texts in Japanese); qt6-base-dev's
# recommends are not needed.
packages=(g++ cmake ninja-build qt6-base-dev libxcb1-dev libicu-dev libxml2-dev libwayland-dev
  qt6-translations-l10n fonts-ipafont-gothic)
# The tests: GoogleTest and Google Benchmark, clang for the sanitizers and the
# fuzzer, an X server, the clipboard and window tools for end to end, and a
# Wayland compositor with Xwayland and Qt's Wayland platform for the same on
# Wayland, and the tools that make and check the Debian package and the manual
# pages (x11-xserver-utils: xmodmap gives Japanese characters keys of their own
# for typing them at full speed), and an editor that runs the filter (vim-tiny);
# sway, a wlroots desktop, runs the same headless (six small packages).
[ "$mode" = test ] && packages+=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
  xvfb xauth xclip xdotool x11-xserver-utils imagemagick weston xwayland wl-clipboard
  qt6-wayland dpkg-dev desktop-file-utils appstream groff-base vim-tiny sway)
# GitHub's Markdown parser with its table extension, which the Markdown tables
# written and read are held to (cmark-gfm -e table).
[ "$mode" = test ] && packages+=(cmark-gfm)
# Typing Japanese end to end: Mozc under ibus (whose Qt plugin is in Qt), on a
# private session bus, with the jp keyboard layout for the key that turns kana
# input on. (The same test runs under fcitx5 where fcitx5, fcitx5-mozc and
# fcitx5-frontend-qt6 are installed; they are not installed here, since on a
# desktop they may take over from the input method the user has.)
[ "$mode" = test ] && packages+=(ibus ibus-mozc dbus-daemon dbus-bin x11-xkb-utils)
# GNOME's and KDE Plasma's compositors for the same, headless: 199 packages,
# 98 MB, about 30 s to fetch and install, and their tests about 2.5 minutes;
# python3-dbus holds the remote desktop session that gives mutter's headless
# seat a keyboard.
[ "$mode" = test ] && packages+=(mutter kwin-wayland python3-dbus)
# The package's library dependencies are read off the binaries.
[ "$mode" = package ] && packages+=(dpkg-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=${TABULON_BUILD_DIR:-build}
if [ "$mode" = start ]; then
  cmake -S . -B "$build-run" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABULON_TESTS=OFF \
    -DTABULON_BENCH=OFF >/dev/null
  cmake --build "$build-run" -j2 --target tabulon tabulon-filter
  exec "$build-run/bin/tabulon"
fi
if [ "$mode" = package ]; then
  cmake -S . -B "$build-deb" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABULON_TESTS=OFF \
    -DTABULON_BENCH=OFF >/dev/null
  cmake --build "$build-deb" -j2
  cd "$build-deb"
  exec cpack -G DEB
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABULON_WERROR=ON \
  -DTABULON_BENCH=ON >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2

# The same tests built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, with the fuzz targets and their replay.
san=${build}-sanitize
cmake -S . -B "$san" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTABULON_WERROR=ON -DTABULON_SANITIZE=ON -DTABULON_FUZZ=ON -DTABULON_BENCH=OFF \
  -DTABULON_GUI=OFF >/dev/null
cmake --build "$san" -j2
ctest --test-dir "$san" --output-on-failure -j2

# About a minute of fuzzing from the seed corpora: the reader, then the cell
# paste, TABULON_FUZZ_SECONDS (default 70) shared 4 : 3 between them. New
# inputs go to scratch folders; an input that breaks an invariant is kept in
# the build folder and should be added to tests/fuzz/regressions.
fuzz_seconds=${TABULON_FUZZ_SECONDS:-70}
reader_seconds=$((fuzz_seconds * 4 / 7 > 0 ? fuzz_seconds * 4 / 7 : 1))
paste_seconds=$((fuzz_seconds - reader_seconds > 0 ? fuzz_seconds - reader_seconds : 1))
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir "$corpus/reader" "$corpus/paste"
echo "Fuzzing the reader for $reader_seconds s"
"$san/bin/reader_fuzz" -max_total_time="$reader_seconds" -print_final_stats=1 \
  -artifact_prefix="$san/" "$corpus/reader" tests/fuzz/corpus/reader 2>&1 | tail -n 12
echo "Fuzzing the cell paste for $paste_seconds s"
"$san/bin/paste_fuzz" -max_total_time="$paste_seconds" -print_final_stats=1 \
  -artifact_prefix="$san/paste_" "$corpus/paste" tests/fuzz/corpus/paste 2>&1 | tail -n 12
