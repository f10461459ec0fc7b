#!/usr/bin/env bash
# The built game in a real X window: the ground moves with the farm as the hero walks, the
# window scales and clicks still hit the menu, F11 and Alt+Enter switch fullscreen, and a won or
# lost run shows its card, which waits for the player and goes back to the menu on Escape.
# Usage: window_card_e2e.sh GAME_BINARY SOURCE_DIR
set -uo pipefail

source "$(dirname "$0")/lib.sh"

shots="$PWD/e2e-window-shots"
mkdir -p "$shots"

# The game window's picture: the root window cropped to the window.
shot() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  import -window root "$work/root.png" 2>/dev/null
  convert "$work/root.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$shots/$1.png" || fail "screenshot $1"
}

# Now in milliseconds, on the real clock: a loop's count of its own pauses falls behind it on a busy
# machine.
now_ms() { echo $(( ${EPOCHREALTIME/./} / 1000 )); }

# Waits up to $1 seconds for the game to end by itself; sets rc and ended_at (now_ms).
await_end() {
  local deadline=$(( $(now_ms) + $1 * 1000 ))
  while kill -0 "$pid" 2>/dev/null && [[ $(now_ms) -lt $deadline ]]; do sleep 0.05; done
  ended_at=$(now_ms)
  if kill -0 "$pid" 2>/dev/null; then fail "the game ended by itself within $1 s"; close_game; return; fi
  wait "$pid"; rc=$?
}

# Takes screenshot $1 until the result card's dark panel (with its light letters: a window not yet
# drawn is all black) is on it: the game shows it once it has
# read the click before, which a busy machine delays. Sets panel (its mean) and seen_at (now_ms).
await_card() {
  local deadline=$(( $(now_ms) + 20000 ))
  while :; do
    shot "$1"
    seen_at=$(now_ms)
    panel=$(convert "$shots/$1.png" -crop 600x300+240+210 +repage -format '%[fx:mean]' info:)
    awk -v m="$panel" 'BEGIN { exit !(m < 0.35 && m > 0.02) }' && return 0
    kill -0 "$pid" 2>/dev/null && [[ $(now_ms) -lt $deadline ]] || return 1
  done
}

# Takes screenshot $1 until the card's dark panel has gone from the window's middle: the menu's
# light sign stands there. Sets menu_back (empty when it never came), panel and seen_at.
await_menu() {
  local deadline=$(( $(now_ms) + 20000 ))
  menu_back=""
  while :; do
    shot "$1"
    seen_at=$(now_ms)
    panel=$(convert "$shots/$1.png" -crop 600x300+240+210 +repage -format '%[fx:mean]' info:)
    awk -v m="$panel" 'BEGIN { exit !(m > 0.45) }' && menu_back=1 && return 0
    kill -0 "$pid" 2>/dev/null && [[ $(now_ms) -lt $deadline ]] || return 1
    sleep 0.1
  done
}

# Left edge (x) of the pixels of one exact colour in a band of rows of a picture, or -1.
left_of_colour() {  # picture colour first-row rows
  local box
  box=$(convert "$1" -crop "1080x$4+0+$3" +repage -fill black +opaque "$2" -fill white -opaque "$2" -format '%@' info: 2>/dev/null)
  [[ "$box" =~ ^[0-9]+x[0-9]+\+([0-9]+)\+[0-9]+$ ]] && echo "${BASH_REMATCH[1]}" || echo -1
}

# Pixels that differ between two same-sized regions of two pictures.
differing() {  # picture1 x1 picture2 x2 y width height
  convert "$1" -crop "$6x$7+$2+$5" +repage "$work/a.png"
  convert "$3" -crop "$6x$7+$4+$5" +repage "$work/b.png"
  compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 | cut -d' ' -f1
}

# The hero's saved game: eight little-endian numbers and a name slot.
save_hero() {  # x y health level killed collected enemyCount bullCount
  perl -e 'print pack("l<8", @ARGV), "Ann", "\0" x 21' "$@" > "$work/files/resP.bin"
}
save_enemies() {  # x y health, repeated
  perl -e 'print pack("l<*", @ARGV)' "$@" > "$work/files/resE.bin"
}

BARN_RED='rgb(196,52,42)'
SAND='rgb(242,196,111)'

echo "== the ground moves with the farm as the hero walks"
new_work
# An outlaw may reach the hero on a slow machine: his hurt would shake the field under the band.
mkdir -p "$XDG_CONFIG_HOME/bramblehoof"
printf '[play]\nreduced_motion = on\n' > "$XDG_CONFIG_HOME/bramblehoof/settings.ini"
start_game || exit 1
xdotool type --delay 60 "Ann"
click 540 360
sleep 1
for _ in $(seq 1 62); do xdotool key --delay 15 d; done
sleep 0.4
shot walk-1
for _ in $(seq 1 10); do xdotool key --delay 15 d; done
sleep 0.4
shot walk-2
close_game
# Farm 1 stands at world y 500 and the view has not moved down: its barn is in rows 500 to 600.
farm1=$(left_of_colour "$shots/walk-1.png" "$BARN_RED" 500 100)
farm2=$(left_of_colour "$shots/walk-2.png" "$BARN_RED" 500 100)
dx=$(( farm1 - farm2 ))
check "the farm is in view ($farm1, then $farm2) and moved left as the hero walked right" \
  test "$farm1" -gt 0 -a "$farm2" -ge 0 -a "$dx" -gt 20
# The band between the HUD (four lines, the last ending at row 156) and the hero holds nothing but ground.
band_y=160; band_h=130; band_w=$(( 1080 - dx ))
ground=$(convert "$shots/walk-2.png" -crop "${band_w}x${band_h}+0+${band_y}" +repage -fill black -opaque "$SAND" \
  -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:)
check "the band shows ground details ($ground pixels)" test "$ground" -gt 30
moved=$(differing "$shots/walk-1.png" "$dx" "$shots/walk-2.png" 0 "$band_y" "$band_w" "$band_h")
still=$(differing "$shots/walk-1.png" 0 "$shots/walk-2.png" 0 "$band_y" "$band_w" "$band_h")
check "shifted by the farm's move the ground is the same ($moved pixels differ)" test "$moved" -eq 0
check "unshifted it is not ($still pixels differ)" test "$still" -gt 30

echo "== a larger window: the picture scales and NEW GAME still takes the click"
new_work
start_game || exit 1
xdotool windowmove "$wid" 0 0
xdotool windowsize "$wid" 1200 800
sleep 0.8
xdotool type --delay 60 "Bo"
sleep 0.5
shot resized-menu
# NEW GAME's centre (540, 360) of the picture, which fills 1200 by 800 (scale 10/9, no bars).
click 600 400
sleep 1
xdotool key --delay 100 d d
sleep 0.3
shot resized-play
check "NEW GAME started a game after the resize" has "huy"
read -r rw rh < <(identify -format '%w %h' "$shots/resized-menu.png")
check "the window is 1200 by 800 ($rw by $rh)" test "$rw" -eq 1200 -a "$rh" -eq 800
close_game

echo "== F11 and Alt+Enter switch fullscreen, on the menu and in play"
new_work
start_game || exit 1
xdotool key --window "$wid" F11
sleep 0.6
import -window root "$shots/fullscreen-menu.png" 2>/dev/null
xdotool key --window "$wid" F11
sleep 0.6
xdotool type --delay 60 "Cy"
click 540 360
sleep 1
xdotool key --window "$wid" alt+Return
sleep 0.6
import -window root "$shots/fullscreen-play.png" 2>/dev/null
xdotool key --window "$wid" F11
sleep 0.6
close_game
check_exit
check "the game started" has "huy"
check "fullscreen went on, off, on, off" test "$(grep -c 'bramblehoof: fullscreen' "$work/stderr.txt")" -eq 4 -a \
  "$(grep 'bramblehoof: fullscreen' "$work/stderr.txt" | tr '\n' ' ')" = \
  "bramblehoof: fullscreen on bramblehoof: fullscreen off bramblehoof: fullscreen on bramblehoof: fullscreen off "
check "last line Game Cleaned" test "$(last_line)" = "Game Cleaned"

echo "== a won run: the card waits for the player, Escape goes to the menu, where Escape ends the game"
new_work
save_hero 100 100 5000 3 6 6 6 6
save_enemies
start_game || exit 1
click 540 260  # RESUME: the saved level is already complete, the first frame wins it
await_card card-win
check "a dark card over the picture (mean $panel)" awk -v m="$panel" 'BEGIN { exit !(m < 0.35 && m > 0.02) }'
sleep 12  # longer than a card ever waited by itself
check "the game still runs after 12 s alone" kill -0 "$pid"
await_card card-win-later
check "and its card still shows (mean $panel)" awk -v m="$panel" 'BEGIN { exit !(m < 0.35 && m > 0.02) }'
xdotool key --window "$wid" Escape
await_menu card-win-menu
check "Escape on the card brought the menu back (card's place mean $panel)" test -n "$menu_back"
xdotool key --window "$wid" Escape
await_end 10
check_exit
check "the win traced" has "You win!!!"
check "last line Game Cleaned" test "$(last_line)" = "Game Cleaned"
check "one players record" test "$(stat -c %s "$work/files/players.bin")" -eq 56
check "nothing of the card's on standard output" bash -c "! grep -qE 'YOU WIN|Score:' '$work/trace.txt'"

echo "== a lost run: the card, Escape goes to the menu at once, and Escape there quits"
new_work
save_hero 965 565 1 1 0 0 2 2  # his centre on the outlaws' corner: they swing at him
save_enemies 1000 600 50 1000 600 50
start_game || exit 1
click 540 260
await_card card-died
check "the hero died and his card shows (mean $panel)" awk -v m="$panel" 'BEGIN { exit !(m < 0.35 && m > 0.02) }'
sleep 1  # a key in the card's first 0.8 s is not taken
pressed_at=$(now_ms)
xdotool key --window "$wid" Escape
await_menu card-died-menu
check "Escape on the card brought the menu back ($(( seen_at - pressed_at )) ms)" test -n "$menu_back"
check "the game still runs on its menu" kill -0 "$pid"
xdotool key --window "$wid" Escape
await_end 6
check_exit
check "the hero died" has "youre dead"
check "last line Game Cleaned" test "$(last_line)" = "Game Cleaned"
check "one players record" test "$(stat -c %s "$work/files/players.bin")" -eq 56

echo "== killed while the card shows: the run is already written"
new_work
save_hero 965 565 1 1 0 0 2 2
save_enemies 1000 600 50 1000 600 50
old_save=$(md5sum < "$work/files/resP.bin")
start_game || exit 1
click 540 260
await_card card-killed
kill -KILL "$pid"
wait "$pid" 2>/dev/null
check "one players record" test "$(stat -c %s "$work/files/players.bin" 2>/dev/null || echo 0)" -eq 56
check "a whole new save (56 and 24 bytes)" test "$(stat -c %s "$work/files/resP.bin"):$(stat -c %s "$work/files/resE.bin")" = "56:24"
check "the save is the dead hero's, not the one resumed" test "$(md5sum < "$work/files/resP.bin")" != "$old_save"
check "no temporary left" bash -c "! ls '$work/files' | grep -q '\\.tmp'"

echo "== a renderer named in SDL_RENDER_DRIVER is used even where OpenGL would be software"
# Where OpenGL runs in software the game takes SDL's software renderer and never loads OpenGL;
# a renderer the player names is SDL's to pick, OpenGL (Mesa's) here. A sanitized game has Mesa
# loaded ahead (above), so only an ordinary build tells the two apart.
gl_loaded() {
  for _ in $(seq 1 100); do
    grep -qE 'swrast_dri|libgallium|libGLX_mesa' "/proc/$pid/maps" && return 0
    sleep 0.1
  done
  return 1
}
if [[ "${game_env[*]}" != *LD_PRELOAD=* ]]; then
  for named in opengl ""; do
    new_work
    export LIBGL_ALWAYS_SOFTWARE=1 SDL_RENDER_DRIVER="$named"
    start_game || exit 1
    if [[ -n "$named" ]]; then
      check "OpenGL loaded for the renderer named" gl_loaded
    else
      check "no OpenGL loaded when none is named" bash -c "! grep -qE 'swrast_dri|libgallium|libGLX_mesa' /proc/$pid/maps"
    fi
    close_game
    check_exit
    unset LIBGL_ALWAYS_SOFTWARE SDL_RENDER_DRIVER
  done
fi

echo "screenshots in $shots"
verdict window
