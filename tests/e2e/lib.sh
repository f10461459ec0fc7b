# The common start of the real-window scripts, sourced while the script's own arguments
# (GAME_BINARY SOURCE_DIR ...) are still in "$@": under Xvfb, the game's sanitizer set-up, and the
# fail/check helpers that count failures.

game=$(readlink -f "$1")
src=$(readlink -f "$2")

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24 -ardelay 60000" bash "$0" "$@"
fi
unset SDL_VIDEODRIVER

# A sanitized build: the GL driver that SDL unloads at exit is kept loaded, so that what it keeps
# for the life of the process can be told apart from our own leaks (tests/lsan.supp lists those).
game_env=()
# (Not `ldd | grep -q`: under pipefail, grep leaving early can kill ldd with SIGPIPE on a busy
# machine, and the sanitized game would then run without this set-up.)
if [[ "$(ldd "$game")" == *libasan* ]]; then
  keep=$(gcc -print-file-name=libasan.so)
  for lib in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so /usr/lib/x86_64-linux-gnu/libGLX_mesa.so.0; do
    [[ -f "$lib" ]] && keep+=":$lib"
  done
  game_env=(LD_PRELOAD="$keep"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    LSAN_OPTIONS=suppressions="$src/tests/lsan.supp":print_suppressions=0:exitcode=0
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1)
fi

# SDL drops a click it reads together with the window's gain of focus, as a click meant only to
# focus the window. A game still starting up on a busy machine reads the focus the test gave it and
# the test's first click in one batch, and lost that click: every click of a test is meant.
game_env+=(SDL_MOUSE_FOCUS_CLICKTHROUGH=1)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

# A leak report ends a sanitized game without failing it (exitcode=0 above), so every game of a
# script still runs to its end; at the script's end any report fails the script.
leak_check() {
  local dir report leaks=0
  for report in $(for dir in "${works[@]}"; do grep -l "ERROR: LeakSanitizer" "$dir"/*stderr*.txt 2>/dev/null; done); do
    echo "FAIL: the game leaked memory ($report):"; leaks=1
    grep -A3 "leak of" "$report" | head -20
  done
  return $leaks
}

# What a game's stderr says about how it ended: sanitizer reports, failed assertions, X errors.
how_it_ended() {
  grep -E "ERROR|SUMMARY|#[0-9]+ |runtime error|CHECK failed|DEADLYSIGNAL|[Aa]ssert|[Aa]bort|terminate|xcb|X Error|fatal" \
    "$1" 2>/dev/null | head -40
}

# The game's exit status ($rc) after a run in $work; a failure shows how the game ended.
check_exit() {
  if [[ $rc -eq 0 ]]; then echo "ok: exit status 0"; return; fi
  fail "exit status 0 (was $rc)"
  how_it_ended "$work/stderr.txt"
}

# Working folders a script makes go at its end; screenshots are kept elsewhere.
works=()
# The player's settings never come from the real home: each working folder has its own (made
# below), so what one game remembers (F11, a resized window) starts only the games in its folder.
export XDG_CONFIG_HOME=/nonexistent/bramblehoof-test-config
cleanup() {
  local status=$?
  leak_check || status=1
  rm -rf "${works[@]}"
  exit "$status"
}
trap cleanup EXIT

# A fresh working folder ($work) with images/ and sounds/ linked and files/ present.
new_work() {
  work=$(mktemp -d /tmp/bramblehoof-e2e-XXXXXX)
  ln -s "$src/images" "$work/images"
  ln -s "$src/sounds" "$work/sounds"
  mkdir "$work/files"
  works+=("$work")
  export XDG_CONFIG_HOME="$work/config"
}

# Starts the game in $work with the options given; $pid and $wid name it once its window is there.
start_game() {
  (cd "$work" && exec env "${game_env[@]}" "$game" "$@" >"$work/trace.txt" 2>"$work/stderr.txt") &
  pid=$!
  # A window that goes while xdotool walks the tree makes it fail (BadWindow): ask again.
  wid=""
  for _ in $(seq 1 40); do
    wid=$(timeout 20 xdotool search --sync --name '^Bramblehoof$' 2>/dev/null | head -1)
    [[ -n "$wid" ]] && break
    sleep 0.2
  done
  if [[ -z "$wid" ]]; then fail "window appeared"; return 1; fi
  sleep 0.5
  # SDL may replace its first window while the renderer starts: take the one that stayed.
  wid=$(xdotool search --all --pid "$pid" --name '^Bramblehoof$' 2>/dev/null | tail -1)
  if [[ -z "$wid" ]]; then fail "window stayed"; return 1; fi
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
}

# Waits (at most 20 s) until the players file holds $1 bytes: a run's end is written before its card.
await_record() {
  for _ in $(seq 1 200); do
    [[ "$(stat -c %s "$work/files/players.bin" 2>/dev/null || echo 0)" -ge "$1" ]] && return 0
    sleep 0.1
  done
  return 1
}

click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; }

# Ends the game as a closed window (SIGTERM, which SDL turns into a window close); sets rc.
close_game() {
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then fail "game ended after SIGTERM"; kill -KILL "$pid"; fi
  wait "$pid"; rc=$?
}

# The game's trace in $work.
last_line() { tail -n 1 "$work/trace.txt"; }
has() { grep -qF -- "$1" "$work/trace.txt"; }

# The script's last word: how many checks of this kind failed (ending it with status 1), or none.
verdict() {
  if [[ $failures -gt 0 ]]; then
    echo "$failures $1 check(s) failed"
    exit 1
  fi
  echo "all $1 checks passed"
}
