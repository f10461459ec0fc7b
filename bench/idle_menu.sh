#!/usr/bin/env bash
# CPU the game takes on its menu with nothing happening: the whole process (every thread, the
# software OpenGL threads included) over a quiet stretch, in a real window on Xvfb.
# With "paused" last, the same for a new game paused at once (Escape) and left alone.
# Usage: bench/idle_menu.sh GAME_BINARY SOURCE_DIR [SECONDS] [RUNS] [paused]
set -euo pipefail

game=$(readlink -f "$1")
src=$(readlink -f "$2")
seconds=${3:-10}
runs=${4:-3}
mode=${5:-menu}

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24 -ardelay 60000" bash "$0" "$@"
fi
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

work=$(mktemp -d /tmp/bramblehoof-idle-XXXXXX)
trap 'rm -rf "$work"' EXIT
ln -s "$src/images" "$work/images"
ln -s "$src/sounds" "$work/sounds"
mkdir "$work/files"

ticks=$(getconf CLK_TCK)
# User and system time of the whole process so far, in clock ticks (fields 14 and 15 of stat;
# the name in field 2 has no blanks here).
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

for run in $(seq 1 "$runs"); do
  (cd "$work" && exec "$game" >/dev/null 2>"$work/stderr.txt") &
  pid=$!
  if ! timeout 20 xdotool search --sync --name '^Bramblehoof$' >/dev/null; then
    echo "idle_menu: no window" >&2; kill -TERM "$pid"; exit 1
  fi
  sleep 2  # start-up and the first pictures are not idling
  if [[ "$mode" == paused ]]; then
    wid=$(xdotool search --all --pid "$pid" --name '^Bramblehoof$' | tail -1)
    xdotool windowfocus --sync "$wid"
    xdotool type --delay 40 "Ann"
    xdotool mousemove --window "$wid" 540 360 click 1  # NEW GAME
    sleep 2
    xdotool key --window "$wid" Escape
    sleep 2
  fi
  before=$(cpu_ticks "$pid")
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  kill -TERM "$pid"; wait "$pid" || true
  awk -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" -v r="$run" -v m="$mode" \
    'BEGIN { printf "idle %s, run %d: %.2f s CPU in %d s: %.1f%% of one core\n", m, r, t / hz, s, 100 * t / hz / s }'
done
