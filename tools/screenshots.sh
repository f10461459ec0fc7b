#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots: the menu with a typed name (menu.png), the first
# moments of a new game after a few steps to the right, LEVEL 1 still showing (play.png), a fight
# at the first farm with the struck outlaw's health over his head (farm.png), the pause panel
# (pause.png) and the options opened from it (options.png), and the card of a won run (card.png). Runs the built game in a
# virtual X display, drives it with xdotool like a player would and ends it as a closed window.
#
# usage: tools/screenshots.sh [GAME_BINARY]     (default: build/bramblehoof)
# Needs xvfb-run, xdotool and ImageMagick (tools/install-deps.sh installs them) and the pictures
# in images/ (the build's `pictures` target makes them).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
game=${1:-$root/build/bramblehoof}
[[ "$game" == /* ]] || game=$root/$game

# Without a display of our own, start one and run this script again inside it. -ardelay 60000
# turns X key repeat off, so every key press is exactly one step.
if [[ -z "${BRAMBLEHOOF_SCREENSHOT_DISPLAY:-}" ]]; then
  exec env BRAMBLEHOOF_SCREENSHOT_DISPLAY=1 \
    xvfb-run -a -s "-screen 0 1280x800x24 -ardelay 60000" bash "${BASH_SOURCE[0]}" "$game"
fi

fail() { echo "screenshots.sh: $*" >&2; exit 1; }
[[ -x "$game" ]] || fail "no game at $game: build it first"
[[ -f "$root/images/images.png" && -f "$root/images/slkscr.ttf" ]] || fail "no pictures in $root/images: build the 'pictures' target"

out=$root/docs/screenshots
mkdir -p "$out"

# The game reads images/ and writes its saved game and scores into files/ of its working folder:
# run it in a scratch folder so the repository's own files/ stay as they are.
work=$(mktemp -d /tmp/bramblehoof-shots-XXXXXX)
pid=
cleanup() {
  if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null || true
    sleep 1
    kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
ln -s "$root/images" "$work/images"
mkdir "$work/files"

(cd "$work" && exec "$game") >"$work/game.log" 2>&1 &
pid=$!

wid=$(timeout 20 xdotool search --sync --name '^Bramblehoof$' | head -n 1) || fail "the game window did not appear"
xdotool windowfocus --sync "$wid"

# Crops the root window to the game window and writes it to $1.
shot() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  import -window root "$work/root.png"
  convert "$work/root.png" -crop "1080x720+$X+$Y" +repage "$1"
  echo "wrote $1"
}

sleep 0.5
xdotool type --delay 40 "Dusty"
sleep 0.5
shot "$out/menu.png"

# The menu items share the box of the font's sample text, centred on (540, 360) with 50 pixels
# between items; NEW GAME is the one at offset 0, so its box is centred on (540, 360) whatever
# the font measures.
xdotool mousemove --window "$wid" 540 360 click 1
sleep 0.4
xdotool key --delay 80 d d d
sleep 0.2   # LEVEL n shows for 1.5 s from the run's first frame
kill -0 "$pid" 2>/dev/null || fail "the game ended early; its output: $(cat "$work/game.log")"
shot "$out/play.png"

# Walk over to farm 1 (1500, 500), where its outlaws and bulls wait, and swing at the first outlaw.
for _ in $(seq 1 82); do xdotool key --delay 15 d; done
for _ in $(seq 1 10); do xdotool key --delay 15 s; done
sleep 0.5
xdotool mousemove --window "$wid" 600 400 click 1
sleep 0.3
xdotool click 1   # his health shows over his head for a second after each blow
sleep 0.05
kill -0 "$pid" 2>/dev/null || fail "the game ended early; its output: $(cat "$work/game.log")"
shot "$out/farm.png"

xdotool key Escape
sleep 0.6
shot "$out/pause.png"
xdotool key o
sleep 0.6
shot "$out/options.png"
xdotool key Escape
sleep 0.3
xdotool key Escape

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[[ $status -eq 0 ]] || fail "the game exited with status $status; its output: $(cat "$work/game.log")"

# The card of a won run: a saved game whose last level is complete wins in its first frame.
perl -e 'print pack("l<8", @ARGV), "Dusty", "\0" x 19' 1400 900 5000 3 6 6 6 6 >"$work/files/resP.bin"
: >"$work/files/resE.bin"
(cd "$work" && exec "$game") >"$work/game.log" 2>&1 &
pid=$!
wid=$(timeout 20 xdotool search --sync --name '^Bramblehoof$' | head -n 1) || fail "the game window did not appear"
xdotool windowfocus --sync "$wid"
sleep 0.5
xdotool mousemove --window "$wid" 540 260 click 1   # RESUME
sleep 0.8
kill -0 "$pid" 2>/dev/null || fail "the game ended before its card; its output: $(cat "$work/game.log")"
shot "$out/card.png"
kill -TERM "$pid"   # the card waits for a key: closed as a window is
status=0
wait "$pid" || status=$?
pid=
[[ $status -eq 0 ]] || fail "the game exited with status $status; its output: $(cat "$work/game.log")"
