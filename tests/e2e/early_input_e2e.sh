#!/usr/bin/env bash
# Input given as soon as the window shows, while the game still loads what play needs (held up
# here by strace, as on a busy machine or under the sanitizers): a click on NEW GAME, or Enter,
# still starts the run once the menu takes input.
# Usage: early_input_e2e.sh GAME_BINARY SOURCE_DIR
set -uo pipefail

source "$(dirname "$0")/lib.sh"

# No clicks through the focus here: the game must take the first click by itself. The leak check
# cannot run under strace (it stops the process's threads by ptrace itself): the sanitized game's
# leaks are checked by every other run of it.
kept=()
for setting in "${game_env[@]}"; do
  [[ $setting == SDL_MOUSE_FOCUS_CLICKTHROUGH=* ]] && continue
  [[ $setting == ASAN_OPTIONS=* ]] && setting=${setting/detect_leaks=1/detect_leaks=0}
  kept+=("$setting")
done
game_env=("${kept[@]}")

# The hero's sheet, read after the menu's first picture, opens 3 s late.
slow_start() {
  (cd "$work" && exec strace -f -qq -o /dev/null -P images/sprites/hero2.png -e trace=openat \
    -e inject=openat:delay_enter=3000000 env "${game_env[@]}" "$game" >"$work/trace.txt" 2>"$work/stderr.txt") &
  tracer=$!
  # Asked again each time rather than once with --sync: SDL may replace its first window while
  # the renderer starts, and a search that meets the one going can wait on it or fail (a busy
  # machine under the sanitizers once waited out the whole minute).
  wid=""
  pid=""
  for _ in $(seq 1 300); do
    kill -0 "$tracer" 2>/dev/null || break
    wid=$(xdotool search --onlyvisible --name '^Bramblehoof$' 2>/dev/null | tail -1)
    pid=$(pgrep -P "$tracer" | head -1)  # the game, strace's child
    [[ -n "$wid" && -n "$pid" ]] && break
    sleep 0.2
  done
  [[ -n "$wid" && -n "$pid" ]]
}

# Ends the game as a closed window; rc is its exit status, as strace passes it on.
close_traced() {
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 1 300); do kill -0 "$tracer" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$tracer" 2>/dev/null; then fail "game ended after SIGTERM"; kill -KILL "$pid" "$tracer"; fi
  wait "$tracer"; rc=$?
}

# Waits (at most 60 s) for the trace to say the run was chosen: "huy" is NEW GAME's word.
await_new_game() {
  for _ in $(seq 1 600); do has huy && return 0; kill -0 "$pid" 2>/dev/null || return 1; sleep 0.1; done
  return 1
}

for how in click key; do
  new_work
  if ! slow_start; then fail "$how: window appeared"; kill -KILL "$tracer" 2>/dev/null; continue; fi
  # The desktop gives the new window the keyboard, as the game is still loading.
  xdotool windowfocus "$wid" 2>/dev/null
  if [[ $how == click ]]; then
    xdotool mousemove --window "$wid" 540 360 click 1
  else
    xdotool key Return
  fi
  check "$how at once starts the run" await_new_game
  close_traced
  check_exit
done
verdict "early input"
