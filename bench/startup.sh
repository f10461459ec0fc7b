#!/usr/bin/env bash
# How long a player waits for the menu: from the command's start to the first time the menu's
# picture is on the screen, in a real window on Xvfb (the renderer the game picks, SDL's
# software one without a graphics device; sound through the dummy audio driver). A small X program (bench/MenuOnScreen.cpp, built here) starts
# the game and polls one sky pixel of the menu every 2 ms, then ends the game.
# The first start is not counted (the disk cache warms); the median is over the others.
# Usage: bench/startup.sh GAME_BINARY SOURCE_DIR [STARTS=6]
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
tmp=$(mktemp -d /tmp/bramblehoof-startup-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
# Xlib's headers come with libsdl2-dev (tools/install-deps.sh).
c++ -std=c++17 -O2 "$here/MenuOnScreen.cpp" -lX11 -o "$tmp/menu_on_screen"

# The 1080 x 720 window stands centred on the 1280 x 800 screen: its top-left at 100, 40. The
# pixel 10, 10 inside it is the menu's sky, a colour no earlier picture has.
sky_x=110
sky_y=50
sky=5CAAE4

times=()
for start in $(seq 1 "$starts"); do
  work="$tmp/work$start"
  mkdir -p "$work/files"
  ln -s "$src/images" "$work/images"
  ln -s "$src/sounds" "$work/sounds"
  export XDG_CONFIG_HOME="$work/config"
  if ! t=$(cd "$work" && "$tmp/menu_on_screen" "$sky_x" "$sky_y" "$sky" 20 "$game" 2>"$work/stderr.txt"); then
    echo "startup: start $start: no menu" >&2
    cat "$work/stderr.txt" >&2
    exit 1
  fi
  if [[ "$start" -eq 1 ]]; then
    echo "start 1: menu on screen after $t s (not counted)"
  else
    echo "start $start: menu on screen after $t s"
    times+=("$t")
  fi
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END {
  m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
  printf "median of %d starts: %.3f s\n", NR, m }'
