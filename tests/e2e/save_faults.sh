#!/usr/bin/env bash
# The built game, stopped or failed by strace at each fsync and rename of its end-of-run save, never
# leaves a saved game that mixes two runs: the next RESUME, clicked in a real X window, restores
# either the whole previous save or the whole new one.
# Usage: save_faults.sh GAME_BINARY SOURCE_DIR
set -uo pipefail

source "$(dirname "$0")/lib.sh"

# Little-endian 32-bit integers as raw bytes.
le32() {
  local v=$(( $1 & 0xFFFFFFFF ))
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((v & 255)) $(((v >> 8) & 255)) $(((v >> 16) & 255)) $(((v >> 24) & 255)))"
}

# The previous run's save: level 2, the hero at (10, 20), three enemies; the run about to end is a
# new game closed on the menu, saved at level 1 with two enemies at (0, 0).
old_save() {
  { for v in 10 20 4000 2 1 1 4 4; do le32 "$v"; done; head -c 24 /dev/zero; } > "$work/files/resP.bin"
  { for e in "1111 5 41" "1222 5 42" "1333 5 43"; do for v in $e; do le32 "$v"; done; done; } > "$work/files/resE.bin"
}
# What RESUME traces of each (the lines read back as one, line ends shown as "|").
OLD_HERO="4000 2 10 20 cxxz"
OLD_ENEMIES=" 411111| 421222| 431333|"
NEW_HERO="5000 1 300 300 cxxz"
NEW_ENEMIES=" 500| 500|"

# True once process $1 catches SIGTERM: SDL is up and will turn the signal into a window close.
catches_term() {
  local mask
  mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$1/status" 2>/dev/null) || return 1
  [[ -n "$mask" ]] && (( (0x$mask >> 14) & 1 ))
}

# Runs the game headless under strace with one injection, and ends its run by closing it on the
# menu. Fails unless the injection took effect.
faulty_run() {
  (cd "$work" && exec env "${game_env[@]}" SDL_VIDEODRIVER=dummy strace -f -o "$work/strace.txt" \
    -e trace="$1" -e inject="$1:$2" "$game" >"$work/faulty.txt" 2>"$work/faulty-stderr.txt") &
  local tracer=$!
  local child=""
  for _ in $(seq 1 100); do
    child=$(pgrep -P "$tracer" | head -1)
    [[ -n "$child" ]] && catches_term "$child" && break
    sleep 0.1
  done
  sleep 0.3
  [[ -n "$child" ]] && kill -TERM "$child" 2>/dev/null
  for _ in $(seq 1 100); do kill -0 "$tracer" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$tracer" 2>/dev/null; then fail "$1:$2: the game did not end"; kill -KILL "$tracer"; fi
  wait "$tracer" 2>/dev/null
  case "$2" in
    signal=*) grep -q "killed by SIGKILL" "$work/strace.txt" || fail "$1:$2: the game was not stopped there" ;;
    *) grep -q "(INJECTED)" "$work/strace.txt" && grep -q "Game Cleaned" "$work/faulty.txt" ||
       fail "$1:$2: the call did not fail, or the game did not end its run" ;;
  esac
}

# Starts the game in a real window, clicks RESUME and closes it once the resume has been traced.
resume_run() {
  (cd "$work" && exec env "${game_env[@]}" "$game" >"$work/resume.txt" 2>"$work/resume-stderr.txt") &
  pid=$!
  local wid
  wid=$(timeout 20 xdotool search --sync --name '^Bramblehoof$' | head -1)
  if [[ -z "$wid" ]]; then fail "window appeared"; kill -KILL "$pid"; wait "$pid"; return; fi
  sleep 0.5
  xdotool mousemove --window "$wid" 540 260 click 1
  for _ in $(seq 1 50); do grep -q "cxxz" "$work/resume.txt" && break; sleep 0.1; done
  sleep 0.3
  close_game
}

# fsync 1 is the players file; 2 and 3 the two temporaries, 4 to 6 the folder around the renames.
cases=()
for when in 2 3 4 5 6; do cases+=("fsync error=EIO:when=$when" "fsync signal=SIGKILL:when=$when"); done
for when in 1 2; do cases+=("rename error=EXDEV:when=$when" "rename signal=SIGKILL:when=$when"); done

for c in "${cases[@]}"; do
  read -r calls how <<<"$c"
  work=$(mktemp -d /tmp/bramblehoof-faults-XXXXXX)
  works+=("$work")
  ln -s "$src/images" "$work/images"
  mkdir "$work/files"
  old_save
  faulty_run "$calls" "$how"
  resume_run
  resumed=$(tr '\n' '|' < "$work/resume.txt")
  if [[ "$resumed" == *"$OLD_HERO"*"$OLD_ENEMIES"* && "$resumed" != *"$NEW_ENEMIES"* ]]; then
    echo "ok: $calls $how: the whole previous save"
  elif [[ "$resumed" == *"$NEW_HERO"*"$NEW_ENEMIES"* && "$resumed" != *"$OLD_ENEMIES"* ]]; then
    echo "ok: $calls $how: the whole new save"
  else
    fail "$calls $how: RESUME restored neither save whole: ${resumed:0:300}"
  fi
done

verdict "save fault"
