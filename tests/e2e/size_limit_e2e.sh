#!/usr/bin/env bash
# The built game, headless, under a size limit for files (prlimit --fsize) too small for the
# players file and the save its end of run writes: the writes fail instead of the limit's signal
# killing the game. One line on stderr says so, the exit status is 0, and the players file and the
# saved game it found stay byte for byte as they were.
# Usage: size_limit_e2e.sh GAME_BINARY SOURCE_DIR
set -uo pipefail

game=$(readlink -f "$1")
src=$(readlink -f "$2")

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

game_env=(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=/nonexistent/bramblehoof-test-config)
if [[ "$(ldd "$game")" == *libasan* ]]; then
  game_env+=(ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    LSAN_OPTIONS=suppressions="$src/tests/lsan.supp":print_suppressions=0
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1)
fi

work=$(mktemp -d /tmp/bramblehoof-limit-XXXXXX)
trap 'rm -rf "$work"' EXIT
ln -s "$src/images" "$work/images"
ln -s "$src/sounds" "$work/sounds"
mkdir "$work/files" "$work/before"
# Two earlier players and an earlier save, all past the 30-byte limit already.
{ printf 'Ann'; head -c 49 /dev/zero; printf '\x1e\x00\x00\x00'; printf 'Bob'; head -c 49 /dev/zero; printf '\x32\x00\x00\x00'; } \
  >"$work/files/players.bin"
{ for v in 10 20 4000 2 1 1 4 4; do printf "$(printf '\\x%02x\\x%02x\\x00\\x00' $((v & 255)) $((v >> 8)))"; done
  head -c 24 /dev/zero; } >"$work/files/resP.bin"
head -c 36 /dev/zero | tr '\0' '\1' >"$work/files/resE.bin"
cp "$work/files/"*.bin "$work/before/"

# The limit holds for every file the game writes, its own output included: the trace and the
# messages go through pipes, which it does not bound.
mkfifo "$work/out" "$work/err"
cat "$work/out" >"$work/trace.txt" & out_reader=$!
cat "$work/err" >"$work/stderr.txt" & err_reader=$!
(cd "$work" && exec env "${game_env[@]}" prlimit --fsize=30 -- "$game" >"$work/out" 2>"$work/err") &
pid=$!

# Closed on the menu once SDL turns SIGTERM into a window close: the end of run then writes.
catches_term() {
  local mask
  mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$1/status" 2>/dev/null) || return 1
  [[ -n "$mask" ]] && (( (0x$mask >> 14) & 1 ))
}
for _ in $(seq 1 600); do catches_term "$pid" && break; kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
sleep 0.3
kill -TERM "$pid" 2>/dev/null
for _ in $(seq 1 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then fail "the game ended"; kill -KILL "$pid"; fi
wait "$pid"
rc=$?
wait "$out_reader" "$err_reader"

check "exit status 0 (was $rc)" test "$rc" -eq 0
check "the run ended" grep -q "Game Cleaned" "$work/trace.txt"
check "one line on stderr" test "$(wc -l <"$work/stderr.txt")" -eq 1
check "it names the players file and the limit" grep -qF \
  "bramblehoof: files/players.bin: the size limit for files (ulimit -f) is reached;" "$work/stderr.txt"
for f in players.bin resP.bin resE.bin; do
  check "files/$f is as it was" cmp -s "$work/before/$f" "$work/files/$f"
done
check "no temporary file is left" test -z "$(ls "$work/files" | grep tmp)"
if [[ $failures -gt 0 ]]; then
  echo "stderr was:"; cat "$work/stderr.txt"
  echo "$failures size limit check(s) failed"
  exit 1
fi
echo "size limit: all checks passed"
