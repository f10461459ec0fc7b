#!/usr/bin/env bash
# How long NEW GAME keeps a player waiting: from the click to the first play frame on the screen
# (a pixel of the HUD's first line, which only play draws), in a real window on Xvfb (the
# renderer the game picks, SDL's software one without a graphics device; dummy audio driver). The game is started, its
# menu left 1.5 s to settle, the pointer put on NEW GAME; then bench/MenuOnScreen.cpp runs
# `xdotool click 1` and polls the pixel every 2 ms from the moment it starts the click (so the
# figure includes xdotool's own start, a few milliseconds).
# The first start is not counted (the disk cache warms); the median is over the others.
# Usage: bench/new_game.sh GAME_BINARY SOURCE_DIR [STARTS=6]
set -euo pipefail

game=$(readlink -f "$1")
src=$(readlink -f "$2")
starts=${3:-6}

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24 -ardelay 60000" bash "$0" "$@"
fi
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

here=$(dirname "$(readlink -f "$0")")
tmp=$(mktemp -d /tmp/bramblehoof-newgame-XXXXXX)
pid=""
trap '[[ -n "$pid" ]] && kill -TERM "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
c++ -std=c++17 -O2 "$here/MenuOnScreen.cpp" -lX11 -o "$tmp/menu_on_screen"

# The 1080 x 720 window stands centred on the 1280 x 800 screen: its top-left at 100, 40. The
# pixel 22, 35 inside it is in the stroke of the H of "Health", in the HUD's green; the menu has
# sky there.
hud_x=122
hud_y=75
hud=1A8E00

times=()
for start in $(seq 1 "$starts"); do
  work="$tmp/work$start"
  mkdir -p "$work/files"
  ln -s "$src/images" "$work/images"
  ln -s "$src/sounds" "$work/sounds"
  export XDG_CONFIG_HOME="$work/config"
  (cd "$work" && exec "$game" >/dev/null 2>"$work/stderr.txt") &
  pid=$!
  if ! wid=$(timeout 20 xdotool search --sync --name '^Bramblehoof$' | tail -1); then
    echo "new_game: start $start: no window" >&2
    exit 1
  fi
  sleep 1.5
  xdotool mousemove --window "$wid" 540 360  # NEW GAME, in the middle of the window
  sleep 0.2
  if ! t=$("$tmp/menu_on_screen" -k "$hud_x" "$hud_y" "$hud" 10 xdotool click 1); then
    echo "new_game: start $start: no play frame" >&2
    cat "$work/stderr.txt" >&2
    exit 1
  fi
  kill -TERM "$pid"; wait "$pid" || true; pid=""
  if [[ "$start" -eq 1 ]]; then
    echo "start 1: first play frame $t s after the click (not counted)"
  else
    echo "start $start: first play frame $t s after the click"
    times+=("$t")
  fi
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END {
  m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
  printf "median of %d starts: %.3f s\n", NR, m }'
