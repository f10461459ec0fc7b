#!/usr/bin/env bash
# The options in a real X window, from the keyboard alone: music a step down and fullscreen on,
# the game left with Escape, started again: both still set, in the file and on screen; F11 there
# is remembered as well.
# Usage: options_e2e.sh GAME_BINARY SOURCE_DIR
set -uo pipefail

source "$(dirname "$0")/lib.sh"

shots="$PWD/e2e-shots"
mkdir -p "$shots"

key() { xdotool key --window "$wid" --delay 150 "$@"; sleep 0.3; }

# The game ends by itself after Escape on the menu (a busy machine gets 20 s); sets rc.
await_exit() {
  for _ in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then fail "the game ended on Escape"; kill -KILL "$pid"; fi
  wait "$pid"; rc=$?
}

# The options' rows as the settings table lists them: a shown setting's label follows its
# "A::None," in src/present/Settings.cpp. The index of the row labelled $1; false for none.
row_of() {
  local i=0 label
  while IFS= read -r label; do
    if [ "$label" = "$1" ]; then echo "$i"; return 0; fi
    i=$((i + 1))
  done < <(tr '\n' ' ' < "$src/src/present/Settings.cpp" | grep -o 'A::None, *"[^"]*"' | sed 's/.*"\(.*\)"/\1/')
  return 1
}

# Down from the first row to the row labelled $1.
down_to() {
  local row
  row=$(row_of "$1") || { fail "no options row '$1' in the settings table"; return 1; }
  for _ in $(seq 1 "$row"); do key Down; done
}

# From NEW GAME, focused at start, one down is OPTIONS under the sign.
open_options() {
  key Down
  key Return
  sleep 0.5
}

new_work
start_game || exit 1
open_options
check "music is the first row" test "$(row_of "Music volume")" = 0
key Left                # music (the first row) 10 -> 9
down_to "Fullscreen"
key Return              # fullscreen on
sleep 1
import -window root "$shots/options-changed.png" 2>/dev/null || fail "screenshot"
key Escape              # back to the menu
key Escape              # and out
await_exit
check_exit
settings="$work/config/bramblehoof/settings.ini"
check "the music's step down is in settings.ini" grep -qx "music = 9" "$settings"
check "fullscreen on is in settings.ini" grep -qx "fullscreen = on" "$settings"
check "nothing written to files/" test -z "$(ls "$work/files")"

echo "== started again"
start_game || exit 1
sleep 1
open_options
import -window root "$shots/options-remembered.png" 2>/dev/null || fail "screenshot"
key Escape
# Without a window manager X does not show fullscreen as such: F11 saying "off" shows it was on.
key F11
sleep 0.5
key Escape
await_exit
check_exit
check "the game started fullscreen: F11 turned it off" \
  test "$(grep -v XDG_RUNTIME_DIR "$work/stderr.txt")" = "bramblehoof: fullscreen off"
check "the music is as it was left" grep -qx "music = 9" "$settings"
check "F11 is remembered too" grep -qx "fullscreen = off" "$settings"

verdict "options"
