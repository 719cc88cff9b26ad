#!/usr/bin/env bash
# Japanese typing through a real input method, Mozc under ibus or fcitx5 ($3),
# in the real program. Names typed down the first column, some converted with
# Space and some committed as kana, land in their cells, names that already
# stand higher up included, and the preview never opens on the way. The title
# field turns kana input on by itself, and the grid types as before once the
# focus is back, with kana input off or on before. A "~" typed as kana is the
# wave dash 〜 in its cell and in the table Ｏ Ｋ leaves. Several rounds, since
# the input method answers asynchronously. Run under xvfb-run.
#
# Mozc will not run as root (it then passes every key through as it is), so
# under root the input method and the program run as `nobody`; otherwise as
# the user. Either way with a home and a session bus of their own, so an
# input method already running on the desktop is never touched.
set -euo pipefail
tabulon=$1 filter=$2 im=$3 rounds=${4:-3}
out=${OUT:-$(mktemp -d)}
mkdir -p "$out"
work=$(mktemp -d)
chmod 711 "$work"
home=$work/home
mkdir -m 700 "$home" "$home/run"
export LC_ALL=C.UTF-8
pid= im_pid= bus_pid=
source "$(dirname "$0")/lib.sh"

# The environment of the input method and the program: only what they need.
as_user=(env -i "PATH=$PATH" "HOME=$home" "XDG_RUNTIME_DIR=$home/run" "DISPLAY=$DISPLAY"
  LC_ALL=C.UTF-8 LANG=C.UTF-8)
if [ "$(id -u)" -eq 0 ]; then
  user=nobody
  as_user=(setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups "${as_user[@]}")
  # The build may lie where that user cannot go (under /root).
  install -m 755 "$tabulon" "$work/tabulon"
  tabulon=$work/tabulon
else
  user=$(id -un)
fi
# The X server's cookie, for that user (xhost does not let it in here).
if [ -n "${XAUTHORITY:-}" ]; then
  install -m 600 -o "$user" "$XAUTHORITY" "$work/Xauthority"
  as_user+=("XAUTHORITY=$work/Xauthority")
fi

# Mozc's server and candidate window leave their parent; they are known by
# the private home in their environment.
cleanup() {
  # shellcheck disable=SC2046
  end_all $pid $im_pid $(with_home "$user" "$home") $bus_pid
  rm -rf "$work"
}
trap cleanup EXIT

# Mozc as the only input method besides the jp keyboard, off at first;
# Zenkaku_Hankaku (a key of the jp layout) turns it on and off.
setxkbmap jp
case "$im" in
  ibus) module=ibus ;;
  fcitx5)
    module=fcitx
    mkdir -p "$home/.config/fcitx5"
    printf '%s\n' '[Groups/0]' 'Name=Default' 'Default Layout=jp' 'DefaultIM=mozc' \
      '[Groups/0/Items/0]' 'Name=keyboard-jp' '[Groups/0/Items/1]' 'Name=mozc' \
      '[GroupOrder]' '0=Default' >"$home/.config/fcitx5/profile"
    ;;
  *) fail "no such input method: $im" ;;
esac
[ "$user" = "$(id -un)" ] || chown -R "$user:$(id -g "$user")" "$home"
# A session bus that starts no services on demand: a call to fcitx5 before it
# has its name would start a second one.
sed '/standard_session_servicedirs/d' /usr/share/dbus-1/session.conf >"$work/bus.conf"
"${as_user[@]}" dbus-daemon --config-file="$work/bus.conf" --fork --print-address=1 \
  --print-pid=1 >"$work/bus"
bus_pid=$(sed -n 2p "$work/bus")
as_user+=("DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")")
if [ "$im" = ibus ]; then
  # No panel, no settings service: the engine is set by hand.
  "${as_user[@]}" ibus-daemon --single --panel=disable --emoji-extension=disable \
    >"$work/im.log" 2>&1 &
  im_pid=$!
  for _ in $(seq 100); do "${as_user[@]}" ibus engine mozc-jp 2>/dev/null && break; sleep 0.1; done
  [ "$("${as_user[@]}" ibus engine 2>/dev/null)" = mozc-jp ] ||
    fail "ibus did not take Mozc: $(cat "$work/im.log")"
  ibus_bus=$("${as_user[@]}" ibus address)
else
  # No windows of its own, no other front ends.
  "${as_user[@]}" fcitx5 --disable=classicui,notificationitem,kimpanel,clipboard,emoji,spell,quickphrase,unicode,wayland,waylandim,ibusfrontend,fcitx4frontend,xim \
    >"$work/im.log" 2>&1 &
  im_pid=$!
  for _ in $(seq 100); do
    "${as_user[@]}" dbus-send --session --print-reply --dest=org.fcitx.Fcitx5 /controller \
      org.fcitx.Fcitx.Controller1.State >/dev/null 2>&1 && break
    sleep 0.1
  done
  kill -0 "$im_pid" 2>/dev/null || fail "fcitx5 did not start: $(cat "$work/im.log")"
fi

# The input context that has the input method's focus: ibus's own when no
# program has it; fcitx5 tells only whether it is on (2), off (1) or none (0).
focused_context() {
  if [ "$im" = ibus ]; then
    "${as_user[@]}" dbus-send --bus="$ibus_bus" --print-reply --dest=org.freedesktop.IBus \
      /org/freedesktop/IBus org.freedesktop.DBus.Properties.Get string:org.freedesktop.IBus \
      string:CurrentInputContext 2>/dev/null | sed -n 's/.*object path "\(.*\)"/\1/p'
  else
    "${as_user[@]}" dbus-send --session --print-reply --dest=org.fcitx.Fcitx5 /controller \
      org.fcitx.Fcitx.Controller1.State 2>/dev/null | sed -n 's/.*int32 \([1-9]\)/\1/p'
  fi
}
idle_context=$(focused_context)
# Keys typed before the program's input context has the focus pass the input
# method by.
wait_input_context() {
  for _ in $(seq 50); do
    [ "$(focused_context)" = "$idle_context" ] || return 0
    sleep 0.1
  done
  fail "round $round: the input method never had the program's focus"
}

# Client positions in the main window: the title field, cell a1 (rows are
# 17 px high).
title_x=300 title_y=17 a_x=45 row1_y=58
row_y() { echo $((row1_y + 17 * ($1 - 1))); }

keys() { xdotool key --delay 80 "$@"; sleep 0.3; }
romaji() { xdotool type --delay 80 "$1"; sleep 0.3; }
no_preview() {
  ! xdotool search --onlyvisible --name 'プレビュー' >/dev/null 2>&1 ||
    fail "round $round: the preview opened $1"
}

# Romaji, and whether it is converted (Space) before the commit (Return).
# The third name stands in a cell above already, converted, the fifth as
# kana; the sixth, "~", is Mozc's wave dash 〜 (U+301C, which CP932 text once
# made ～ U+FF5E). The conversion is the first candidate of Mozc's own
# dictionary, which has no other for yamada.
names=(yamada convert tanaka kana yamada convert suzuki kana tanaka kana '~' kana)
printf 'とうきょう' >"$work/title"

# Types romaji into the cell clicked last and ends the cell: with kana input
# on, Return commits the kana first.
cell() {
  romaji "$1"
  [ "$mode" = direct ] || keys Return
  keys Return
}

for round in $(seq "$rounds"); do
  printf '' | xclip -selection clipboard -i 2>/dev/null  # an empty grid
  "${as_user[@]}" QT_IM_MODULE=$module "$tabulon" 2>"$work/tabulon.err" &
  pid=$!
  main=$(wait_window 'Tabulon') || fail "the main window did not come up"

  click "$main" "$a_x" "$(row_y 1)"
  xdotool windowfocus --sync "$main"
  wait_input_context
  keys Zenkaku_Hankaku  # kana input on
  for ((i = 0; i < ${#names[@]}; i += 2)); do
    romaji "${names[i]}"
    [ "${names[i + 1]}" = kana ] || keys space
    keys Return  # commits the kana or the conversion
    keys Return  # ends the cell, which stays where it is
    no_preview "after ${names[i]} in row $((i / 2 + 1))"
    keys Down
  done

  # The title field turns kana input on while it has the focus, and the grid
  # types as before once the focus is back there: without kana in odd
  # rounds, with it in even ones.
  mode=kana
  ((round % 2 == 0)) || { mode=direct; keys Zenkaku_Hankaku; }
  cell kana  # row 7
  click "$main" "$title_x" "$title_y"
  romaji toukyou
  keys Return  # commits the kana
  /usr/bin/import -window root "$out/input_method_${im}_title.png"
  keys ctrl+a ctrl+c
  for _ in $(seq 30); do cmp -s <(xclip -selection clipboard -o) "$work/title" && break; sleep 0.1; done
  clipboard_is "round $round: the title typed with kana input not turned on" "$work/title"
  click "$main" "$a_x" "$(row_y 8)"
  cell kana
  no_preview "after the title"

  keys ctrl+a ctrl+c
  kana=kana
  [ "$mode" = direct ] || kana=かな
  printf '%s\n' 山田 たなか 山田 すずき たなか 〜 "$kana" "$kana" >"$work/column"
  for _ in $(seq 30); do
    xclip -selection clipboard -o >"$work/cells"
    head -n 8 "$work/cells" | cut -f 1 | tr -d '\r' >"$work/got"
    cmp -s "$work/got" "$work/column" && break
    sleep 0.1
  done
  cmp -s "$work/got" "$work/column" || fail "round $round: column a differs
$(diff "$work/column" "$work/got")"

  [ "$mode" = direct ] || keys Zenkaku_Hankaku  # kana input off for the next round
  # Ｏ Ｋ leaves the table of the column and the title, 〜 as it was typed.
  "$filter" --crlf --title "$(cat "$work/title")" <"$work/column" >"$work/table"
  create_preview
  click "$preview" 660 19  # "Ｏ Ｋ"
  wait_exit "$pid" || fail "the program did not end after Ｏ Ｋ"
  pid=
  clipboard_is "round $round: the table" "$work/table"
  echo "round $round: ok"
done
echo ok
