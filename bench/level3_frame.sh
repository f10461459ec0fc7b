#!/usr/bin/env bash
# What a frame of the real game costs a player's machine at level 3, against a floor, in a real
# window on Xvfb (the renderer the game picks, SDL's software one without a graphics device;
# sound through the dummy audio driver).
# The game: resumed from a written save at level 3 with six outlaws beside the hero; the hero
# walks to and fro and strikes while they chase him and swing at him (everyone's health is large
# enough that nobody falls). The floor: bench/FloorLoop.cpp, built here: the game's window and
# renderer, a clear, the HUD's four outlined lines from textures made once, a present, paced to
# 60 a second as the game is.
# Each is measured in its own process, in turns (game, floor, game, floor, ...): the whole
# process's user and system time (every thread, the driver's included) over SECONDS, divided by
# the frames drawn meanwhile (the game's replay lines, the floor's own count).
# --size WxH (again for more sizes: --size 1080x720 --size 1920x1080 --size 3840x2160) plays the
# game in a window of that size (its settings file's [window] width and height); with several, each
# round plays every size in turn, then the floor, and the end gives each size's median and its
# median ratio to the first size's frame of the same round.
# Usage: [LEVEL3_NO_FIELD=1] bench/level3_frame.sh [--size WxH]... GAME_BINARY SOURCE_DIR [ROUNDS=3] [SECONDS=5]
set -euo pipefail

sizes=()
args=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --size)
      [[ $# -ge 2 && "$2" =~ ^[0-9]+x[0-9]+$ ]] || { echo "level3_frame: --size takes WxH, as 1920x1080" >&2; exit 2; }
      sizes+=("$2")
      shift 2
      ;;
    *)
      args+=("$1")
      shift
      ;;
  esac
done
if [[ ${#args[@]} -lt 2 ]]; then
  echo "usage: bench/level3_frame.sh [--size WxH]... GAME_BINARY SOURCE_DIR [ROUNDS=3] [SECONDS=5]" >&2
  exit 2
fi
set -- "${args[@]}"
size_args=()
for size in "${sizes[@]}"; do size_args+=(--size "$size"); done
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1080x720)
game=$(readlink -f "$1")
src=$(readlink -f "$2")
rounds=${3:-3}
seconds=${4:-5}

# Always an X server of its own, even on a desktop: the same screen and settings for every run
# and every machine, and the keys and clicks it sends reach no one else's windows.
if [[ "${BRAMBLEHOOF_BENCH_OWN_X:-}" != 1 ]]; then
  # Large enough for the largest window asked for.
  BRAMBLEHOOF_BENCH_OWN_X=1 exec xvfb-run -a -s "-screen 0 3840x2160x24 -ardelay 60000" bash "$0" \
    "${size_args[@]}" "$@"
fi
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

here=$(dirname "$(readlink -f "$0")")
tmp=$(mktemp -d /tmp/bramblehoof-level3-XXXXXX)
pid=""
driver=""
cleanup() {
  [[ -n "$driver" ]] && kill "$driver" 2>/dev/null
  [[ -n "$pid" ]] && kill -TERM "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
die() { echo "level3_frame: $*" >&2; exit 1; }

c++ -std=c++17 -O2 "$here/FloorLoop.cpp" $(pkg-config --cflags --libs sdl2 SDL2_ttf) -o "$tmp/floor_loop"
# LEVEL3_NO_FIELD=1: the game without its field drawn (bench/NoField.cpp), what no cheaper drawing
# can go below.
preload=""
if [[ "${LEVEL3_NO_FIELD:-}" == 1 ]]; then
  c++ -std=c++17 -O2 -shared -fPIC "$here/NoField.cpp" $(pkg-config --cflags sdl2) -ldl -o "$tmp/no_field.so"
  preload="$tmp/no_field.so"
fi

warm=3  # seconds before the measure: the driver prepares its shaders, the outlaws close in

# The saved game: level 3, six enemy and bull slots, nothing counted yet; the hero at (1200, 1000),
# clear of the bulls a resume places around the first farm; three outlaws to his left and three
# to his right, 320 to 335 pixels from his centre (1232, 1032): just out of reach, so each is
# drawn in place first and turns angry when the hero's walk brings him near (an outlaw angry in
# his very first frame would start his chase from the window's corner).
hero_x=1200
hero_y=1000
health=1000000
outlaws=("-320 -100" "-320 0" "-320 100" "320 -100" "320 0" "320 100")  # from the hero's centre
write_save() {
  perl -e 'print pack("l<8", @ARGV), "Ann", "\0" x 21' \
    "$hero_x" "$hero_y" "$health" 3 0 0 6 6 >"$work/files/resP.bin"
  local offset dx dy
  for offset in "${outlaws[@]}"; do
    read -r dx dy <<<"$offset"
    perl -e 'print pack("l<3", @ARGV)' $((hero_x + 32 + dx)) $((hero_y + 32 + dy)) "$health"
  done >"$work/files/resE.bin"
}
# What the resume writes on the game's stdout for that save, exactly.
resumed="$health 3 $hero_x $hero_y cxxz  ffffffffffff  far  far  far "
resumed+=$'Render Building created\n'$'Render Building created\n'$'Render Building created\n'  # the three farms
for offset in "${outlaws[@]}"; do
  read -r dx dy <<<"$offset"
  resumed+=" $health$((hero_x + 32 + dx))"$'\n'
done

# A fresh working folder with its own settings and data folders.
new_work() {
  work="$tmp/$1"
  mkdir -p "$work/files" "$work/config" "$work/data"
  ln -s "$src/images" "$work/images"
  ln -s "$src/sounds" "$work/sounds"
  export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
}

# The window's size for the next game ($1 as WxH), remembered as the game remembers it, and where a
# point of the 1080 by 720 picture then is in the window (scaled to fit, with bars on two sides).
window_w=1080
window_h=720
set_size() {
  window_w=${1%x*}
  window_h=${1#*x}
  mkdir -p "$work/config/bramblehoof"
  printf '[window]\nwidth = %s\nheight = %s\n' "$window_w" "$window_h" >"$work/config/bramblehoof/settings.ini"
}
at() {
  awk -v x="$1" -v y="$2" -v w="$window_w" -v h="$window_h" 'BEGIN {
    s = w / 1080 < h / 720 ? w / 1080 : h / 720
    printf "%d %d\n", (w - 1080 * s) / 2 + x * s, (h - 720 * s) / 2 + y * s }'
}

# The time every thread of process $1 has spent on a processor so far, user and system alike, in
# nanoseconds (the first field of each thread's schedstat). Clock ticks (stat's fields 14 and 15)
# are 10 ms: a floor's 5 s held 8 to 10 of them, so one tick moved a figure by a tenth.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }
load() { cut -d' ' -f1 /proc/loadavg; }

# The window titled $1 of process $pid (SDL may replace its first window: the last one stays).
window_of() {
  local wid=""
  for _ in $(seq 1 100); do
    wid=$(xdotool search --all --pid "$pid" --name "$1" 2>/dev/null | tail -1 || true)
    [[ -n "$wid" ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  echo "$wid"
}

# Waits (at most 20 s) until command $1 prints a number above $2.
await_above() {
  for _ in $(seq 1 200); do
    [[ "$($1)" -gt "$2" ]] && return 0
    sleep 0.1
  done
  return 1
}

# One measure of process $pid: CPU nanoseconds and the frame count ($1 prints it) over $seconds.
# Sets cpu, frames and at_load.
measure() {
  local t0 f0
  t0=$(cpu_ns "$pid")
  f0=$($1)
  sleep "$seconds"
  cpu=$(($(cpu_ns "$pid") - t0))
  frames=$(($($1) - f0))
  at_load=$(load)
}

# Stops process $pid as a closed window does.
stop() {
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}

replay_lines() { wc -l <"$work/files/replay.txt" 2>/dev/null || echo 0; }
floor_frames() { od -An -t u8 "$work/frames" 2>/dev/null | tr -d ' ' || echo 0; }
# The last thing the process said on stderr (SDL's note on XDG_RUNTIME_DIR left out), in brackets.
said() {
  local last
  last=$(grep -v XDG_RUNTIME_DIR "$work/stderr.txt" 2>/dev/null | tail -n 1 || true)
  [[ -n "$last" ]] && echo " ($last)"
  xdotool getdisplaygeometry >/dev/null 2>&1 || echo " (the X server $DISPLAY no longer answers)"
}
traced() { grep -qF -- "$1" "$work/trace.txt"; }
resumed_yet() { [[ "$(cat "$work/trace.txt")"$'\n' == *"$1"* ]]; }
not_resumed() { die "round $1: RESUME did not resume the level-3 game (no \"${resumed%%$'\n'*}\" on the game's stdout)"; }

# The hero walks 0.3 s to the right (the outlaws there turn angry), then 0.6 s to the left and
# 0.6 s to the right, over and over, striking every 0.15 s: all six chase him and swing at him,
# and the strikes land. One xdotool process for the whole stretch.
drive() {
  local steps=(keydown d click 1 sleep 0.15 click 1 sleep 0.15 keyup d) cycles=$(((warm + seconds + 5) * 5 / 6 + 1))
  for _ in $(seq 1 "$cycles"); do
    steps+=(keydown a click 1 sleep 0.15 click 1 sleep 0.15 click 1 sleep 0.15 click 1 sleep 0.15 keyup a)
    steps+=(keydown d click 1 sleep 0.15 click 1 sleep 0.15 click 1 sleep 0.15 click 1 sleep 0.15 keyup d)
  done
  xdotool mousemove --window "$1" $(at 540 600) "${steps[@]}" >/dev/null 2>&1 &
  driver=$!
}
undrive() {
  kill "$driver" 2>/dev/null || true
  wait "$driver" 2>/dev/null || true
  driver=""
  xdotool keyup d keyup a 2>/dev/null || true  # nothing stays held for the next window
}

# Round $1 at size $2 (WxH).
play_round() {
  new_work "game$1-$2"
  set_size "$2"
  write_save
  # SDL drops a click it reads in one batch with the window's gain of focus (as a click meant only
  # to focus): a game still starting on a busy machine would lose the click on RESUME.
  (cd "$work" && SDL_MOUSE_FOCUS_CLICKTHROUGH=1 LD_PRELOAD="$preload" exec "$game" >"$work/trace.txt" 2>"$work/stderr.txt") &
  pid=$!
  local wid
  wid=$(window_of '^Bramblehoof$')
  [[ -n "$wid" ]] || die "round $1: the game's window did not come$(said)"
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  sleep 0.5
  xdotool type --delay 40 "Ann"
  xdotool mousemove --window "$wid" $(at 540 260) click 1  # RESUME
  # The enemies' lines reach the file when the game next flushes its output: the rest first.
  for tenth in $(seq 1 200); do
    resumed_yet "${resumed%%$'\n '*}" && break
    # Once more after 5 s, should the click have been lost (in play a click is only a strike).
    [[ $tenth -eq 50 ]] && xdotool mousemove --window "$wid" $(at 540 260) click 1
    sleep 0.1
  done
  resumed_yet "${resumed%%$'\n '*}" || not_resumed "$1"
  await_above replay_lines 0 || die "round $1: play did not start (the replay does not grow)"
  drive "$wid"
  sleep "$warm"
  measure replay_lines
  undrive
  local ended=yes
  kill -0 "$pid" 2>/dev/null && ended=""
  stop  # the game writes out what it still holds of its trace
  # A dead hero's last frame goes to the result card, a won level to the next: neither is this frame.
  traced "youre dead" && die "round $1: the hero died; the figure would be the result card's, not play's"
  traced "You win!!!" && die "round $1: the level ended during the measure"
  [[ -z "$ended" ]] || die "round $1: the game ended during the measure"
  resumed_yet "$resumed" || not_resumed "$1"
  # At 60 a second: far fewer frames means play stood still (a pause, a lost focus).
  [[ $frames -ge $((seconds * 60 / 2)) ]] || die "round $1: only $frames frames in $seconds s: play stood still"
}

floor_round() {
  new_work "floor$1"
  # FLOOR_RENDER_DRIVER=opengl measures against the OpenGL floor where the game draws in software.
  (cd "$work" && SDL_RENDER_DRIVER=${FLOOR_RENDER_DRIVER:-${SDL_RENDER_DRIVER:-}} exec "$tmp/floor_loop" "$work/frames" \
    >/dev/null 2>"$work/stderr.txt") &
  pid=$!
  [[ -n "$(window_of '^Bramblehoof floor$')" ]] ||
    die "round $1: the floor's window did not come$(said)"
  await_above floor_frames 0 || die "round $1: the floor draws nothing"
  sleep "$warm"
  measure floor_frames
  kill -0 "$pid" 2>/dev/null || die "round $1: the floor ended during the measure"
  [[ $frames -ge $((seconds * 60 / 2)) ]] || die "round $1: the floor drew only $frames frames in $seconds s"
  [[ $1 -eq 1 ]] && sed -n 's/^floor_loop: //p' "$work/stderr.txt" | sed 's/^/floor: /'
  stop
}

# ms of CPU per frame from $cpu nanoseconds and $frames.
per_frame() { awk -v t="$cpu" -v f="$frames" 'BEGIN { printf "%.3f", t / 1e6 / f }'; }

ratios=()
declare -A game_ms_of size_ratios_of
for round in $(seq 1 "$rounds"); do
  first_ms=""
  for size in "${sizes[@]}"; do
    play_round "$round" "$size"
    game_ms=$(per_frame)
    [[ -n "$first_ms" ]] || first_ms=$game_ms
    echo "round $round game $size: $game_ms ms CPU per frame, $frames frames in $seconds s, load $at_load"
    game_ms_of[$size]+="$game_ms "
    size_ratios_of[$size]+="$(awk -v g="$game_ms" -v f="$first_ms" 'BEGIN { printf "%.2f", g / f }') "
  done
  game_ms=$first_ms
  floor_round "$round"
  floor_ms=$(per_frame)
  echo "round $round floor: $floor_ms ms CPU per frame, $frames frames in $seconds s, load $at_load"
  ratio=$(awk -v g="$game_ms" -v f="$floor_ms" 'BEGIN { printf "%.2f", g / f }')
  echo "round $round ratio game ${sizes[0]}/floor: $ratio"
  ratios+=("$ratio")
done
median() { tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END {
  printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
if [[ ${#sizes[@]} -gt 1 ]]; then
  for size in "${sizes[@]}"; do
    echo "median over $rounds rounds at $size: $(median <<<"${game_ms_of[$size]}") ms CPU per frame," \
      "$(median <<<"${size_ratios_of[$size]}") times ${sizes[0]}'s"
  done
fi
printf '%s\n' "${ratios[@]}" | sort -n | awk '{ v[NR] = $1 } END {
  m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
  printf "median ratio game/floor over %d rounds: %.2f\n", NR, m }'
