#!/usr/bin/env bash
# Plays the built game in a real X window the way a person would: types a name, clicks menu
# items, walks, attacks, and closes the window (SIGTERM, which SDL turns into a window close).
# Usage: run_e2e.sh GAME_BINARY SOURCE_DIR
set -uo pipefail

source "$(dirname "$0")/lib.sh"

shots="$PWD/e2e-shots"
mkdir -p "$shots"

# Menu item centres: the items stand 50 pixels apart above the window centre.
NEW_GAME=(540 360)
REPLAY=(540 310)
RESUME=(540 260)
SCORE_BOARD=(540 210)

shot() { import -window root "$shots/$1.png" 2>/dev/null || fail "screenshot $1"; }

line() { sed -n "${1}p" "$work/trace.txt"; }

echo "== menu, typing, then closing the window on the menu"
new_work
start_game || exit 1
xdotool type --delay 60 "Ann"
sleep 0.8
shot menu
# The desktop knows the window: its class is the desktop entry's id, which the entry names as its
# StartupWMClass, and its icon is the game's own, pixel for pixel (ARGB, as X keeps it).
entry="$src/dist/io.github.bramblehoof.Bramblehoof.desktop"
entry_id=$(basename "$entry" .desktop)
check "the desktop entry names its id as StartupWMClass" grep -qx "StartupWMClass=$entry_id" "$entry"
check "window class is the desktop entry's id" \
  test "$(xprop -id "$wid" WM_CLASS)" = "WM_CLASS(STRING) = \"$entry_id\", \"$entry_id\""
icon_values() { xprop -id "$wid" -notype 32c _NET_WM_ICON | sed 's/^_NET_WM_ICON = //' | tr -d ' ' | tr ',' '\n'; }
png_values() {
  identify -format '%w\n%h\n' "$src/images/icon.png"
  convert "$src/images/icon.png" -depth 8 rgba:- | od -An -v -tu1 |
    awk '{ for (i = 1; i <= NF; i++) v[n++] = $i }
         END { for (i = 0; i < n; i += 4) printf "%.0f\n", v[i+3] * 16777216 + v[i] * 65536 + v[i+1] * 256 + v[i+2] }'
}
check "window icon is images/icon.png" cmp -s <(icon_values) <(png_values)
close_game
check_exit
check "first line Inited" test "$(line 1)" = "Inited"
check "second line Window created" test "$(line 2)" = "Window created"
check "third line is renderingRender created" test "$(line 3)" = "is renderingRender created"
check "pcchemu traced" has "pcchemu"
check "last line Game Cleaned" test "$(last_line)" = "Game Cleaned"
# (A sanitizer's report at the end is judged by the leak check in lib.sh.)
check "nothing on standard error from the game" \
  bash -c "! sed '/^=\{20,\}\$/,\$d' '$work/stderr.txt' | grep -v XDG_RUNTIME_DIR | grep -q ."

echo "== started with --mute: the same window and the same clean end"
new_work
start_game --mute || exit 1
click "${NEW_GAME[@]}"
sleep 1
xdotool key --delay 100 m d
close_game
check_exit
check "muted: first line Inited" test "$(line 1)" = "Inited"
check "muted: NEW GAME traced huy" has "huy"
check "muted: last line Game Cleaned" test "$(last_line)" = "Game Cleaned"

echo "== Enter chooses NEW GAME; d held for one second walks by itself, with no key repeat"
new_work
start_game || exit 1
xdotool key Return
for _ in $(seq 1 100); do has "Render created2" && break; sleep 0.1; done
check "Enter on the menu started a game" has "huy"
# One xdotool for the whole hold: starting a second one on a busy machine would lengthen it.
xdotool keydown d sleep 1 keyup d
sleep 0.3
close_game
check_exit
# The hero starts at x = 300 and each step is 12 pixels; the X server sends no key repeat, so
# without a walk of its own he would take one step. A frame stalled past 1/10 s on a busy machine
# under the sanitizers makes up at most three steps (a dragged window must not make him leap), so
# a few may be lost; none may be taken twice.
walked=$(( ($(tail -n 1 "$work/files/replay.txt" | cut -d' ' -f1) - 300) / 12 ))
check "a second's hold walked 30 steps, a few fewer on a busy machine ($walked)" test "$walked" -ge 24 -a "$walked" -le 32

echo "== NEW GAME, walk, attack, close"
new_work
start_game || exit 1
xdotool type --delay 60 "Bo"
sleep 0.5
click "${NEW_GAME[@]}"
sleep 1
xdotool key --delay 100 d d d s s
click 600 400
sleep 0.5
shot play
close_game
check_exit
check "NEW GAME traced huy" has "huy"
check "hero spawned" has "Render created2"
check "farm placed" has "Render Building created"
check "window close in play traced" has "fuck"
check "last line Game Cleaned" test "$(last_line)" = "Game Cleaned"
check "one players record" test "$(stat -c %s "$work/files/players.bin")" -eq 56
check "saved game written" test "$(stat -c %s "$work/files/resP.bin")" -eq 56
recorded=$(wc -l < "$work/files/replay.txt")
check "frames recorded ($recorded)" test "$recorded" -gt 10
check "the recording starts where the hero stood" test "$(head -n 1 "$work/files/replay.txt")" = "300 300"

echo "== REPLAY of that run, to its end"
start_game || exit 1
click "${REPLAY[@]}"
# The replay plays one recorded line a frame, at 60 frames a second at best; a sanitized build on a
# busy machine may run at a third of that, so the bound allows it, plus ten seconds for start-up.
# The REPLAY OVER card is up when its dark panel covers the window's middle (a window not yet
# drawn is all black, which is not the card).
card_up() {
  local X Y WIDTH HEIGHT SCREEN WINDOW m
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  import -window root "$work/root.png" 2>/dev/null || return 1
  m=$(convert "$work/root.png" -crop "600x300+$((X + 240))+$((Y + 210))" +repage -format '%[fx:mean]' info:)
  awk -v m="$m" 'BEGIN { exit !(m < 0.35 && m > 0.02) }'
}
for _ in $(seq 1 $(( recorded / 2 + 100 ))); do card_up && break; kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
check "the REPLAY OVER card shows" card_up
# It waits for the player, taking no key in its first 0.8 s.
sleep 1.5
xdotool key --window "$wid" Escape  # back to the menu
for _ in $(seq 1 30); do card_up || break; sleep 0.1; done
card_gone() { ! card_up; }
check "Escape on the REPLAY OVER card put the card away" card_gone
check "and the game still runs, on its menu" kill -0 "$pid"
xdotool key --window "$wid" Escape  # QUIT from the menu
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then fail "Escape on the menu after the REPLAY OVER card ended the game"; close_game; else wait "$pid"; rc=$?; fi
check_exit
check "REPLAY traced replay12" has "replay12"
check "replay ran out" has "STOOOP"
check "last line Game Cleaned" test "$(last_line)" = "Game Cleaned"
check "replay left the recording alone" test "$(wc -l < "$work/files/replay.txt")" -eq "$recorded"
check "two players records" test "$(stat -c %s "$work/files/players.bin")" -eq 112

echo "== SCORE BOARD shows the two runs, then RESUME, then close"
start_game || exit 1
click "${SCORE_BOARD[@]}"
sleep 0.5
shot scoreboard
click "${RESUME[@]}"
sleep 1
xdotool key --delay 100 a a
sleep 0.3
shot resume
close_game
check_exit
check "RESUME restored the saved game" has " cxxz "
check "last line Game Cleaned" test "$(last_line)" = "Game Cleaned"
check "three players records" test "$(stat -c %s "$work/files/players.bin")" -eq 168

echo "screenshots in $shots"
verdict end-to-end
