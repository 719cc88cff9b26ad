#!/usr/bin/env bash
# Keys that come together, as a fast typist's, a busy machine's or an input
# method's do: 30 cells typed in one burst with no delay between keys, Return
# and arrow keys between them, Japanese and ASCII. Every cell must hold
# exactly its text. Five rounds. Run under xvfb-run.
set -euo pipefail
tabulon=$1 rounds=${3:-5}
work=$(mktemp -d)
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/lib.sh"

# Japanese characters get keys of their own before the burst: a key whose
# symbol changes while keys are on their way arrives as another character.
words=(g12 123412 りんご 東京 ﾊﾞﾅﾅ ①x Abc 漢字2 ｶﾅ d)
chars=$(printf '%s' "${words[@]}" | grep -o . | LC_ALL=C.UTF-8 grep -P '[^\x00-\x7f]' | sort -u)
keycode=230
for ch in $chars; do
  xmodmap -e "keycode $keycode = $(printf 'U%04X' "'$ch")"
  keycode=$((keycode + 1))
done
keys_of() {  # the key names that type $1
  local ch
  while IFS= read -r ch; do
    case $ch in
      [a-z0-9]) printf '%s ' "$ch" ;;
      [A-Z]) printf 'shift+%s ' "${ch,,}" ;;
      *) printf 'U%04X ' "'$ch" ;;
    esac
  done < <(printf '%s' "$1" | grep -o .)
}

# Rows 1 to 5, columns a to f: Return and Right after each cell, Return,
# Down and Left back to column a after the last of a row.
burst=() expected=""
for row in 1 2 3 4 5; do
  line=""
  for col in 1 2 3 4 5 6; do
    word=${words[$((((row - 1) * 6 + col - 1) % ${#words[@]}))]}
    read -ra typed <<<"$(keys_of "$word")"
    burst+=("${typed[@]}" Return)
    if [ "$col" -lt 6 ]; then burst+=(Right); else burst+=(Down Left Left Left Left Left); fi
    line+="${line:+$'\t'}$word"
  done
  expected+="$line"$'\n'
done

for round in $(seq "$rounds"); do
  printf '' | xclip -selection clipboard -i
  start_tabulon
  click "$main" 45 58  # cell a1
  xdotool windowfocus --sync "$main"
  xdotool key --delay 0 "${burst[@]}"
  sleep 0.3
  xdotool key ctrl+a ctrl+c
  got=""
  for _ in $(seq 50); do
    got=$(xclip -selection clipboard -o 2>/dev/null | tr -d '\r' | sed -n '1,5p' | cut -f 1-6)$'\n'
    [ "$got" = "$expected" ] && break
    sleep 0.1
  done
  [ "$got" = "$expected" ] || fail "round $round: the cells differ
$(diff <(printf '%s' "$expected") <(printf '%s' "$got"))"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  echo "round $round: ok"
done
echo ok
