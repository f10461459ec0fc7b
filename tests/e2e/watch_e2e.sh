#!/usr/bin/env bash
# WATCH in a real window: a run lost in play, W on its card shows it again with the speed line at
# the foot, Escape goes back to the card; then `--watch` of the run's recording plays it to its
# end, and a key ends the program. Screenshots in e2e-shots/watch-*.png.
# Usage: watch_e2e.sh GAME_BINARY SOURCE_DIR
set -uo pipefail

source "$(dirname "$0")/lib.sh"

shots="$PWD/e2e-shots"
mkdir -p "$shots"
shot() { import -window root "$shots/$1.png" 2>/dev/null || fail "screenshot $1"; }
now_ms() { echo $(( ${EPOCHREALTIME/./} / 1000 )); }

# The mean brightness of a part of the last screenshot $1: WxH+X+Y in screen pixels (the window
# stands at 100,40 on the 1280x800 screen).
mean_of() { convert "$shots/$1.png" -crop "$2" +repage -format '%[fx:mean]' info:; }
# Screenshot $1 until the card's dark panel shows in the window's middle (at most 30 s).
await_card() {
  local deadline=$(( $(now_ms) + 30000 ))
  while :; do
    shot "$1"
    panel=$(mean_of "$1" 600x300+340+250)
    awk -v m="$panel" 'BEGIN { exit !(m < 0.35 && m > 0.02) }' && return 0
    kill -0 "$pid" 2>/dev/null && [[ $(now_ms) -lt $deadline ]] || return 1
    sleep 0.1
  done
}
# Screenshot $1 until the watch's dark foot strip (26 px at the picture's foot) and a light field
# above it show: sets strip and field.
await_watch() {
  local deadline=$(( $(now_ms) + 30000 ))
  while :; do
    shot "$1"
    strip=$(mean_of "$1" 1000x20+140+737)
    field=$(mean_of "$1" 600x200+340+300)
    awk -v s="$strip" -v f="$field" 'BEGIN { exit !(s < 0.3 && f > 0.5) }' && return 0
    kill -0 "$pid" 2>/dev/null && [[ $(now_ms) -lt $deadline ]] || return 1
    sleep 0.2
  done
}

save_hero() {  # x y health level killed collected enemyCount bullCount
  perl -e 'print pack("l<8", @ARGV), "Ann", "\0" x 21' "$@" > "$work/files/resP.bin"
}
save_enemies() {  # x y health, repeated
  perl -e 'print pack("l<*", @ARGV)' "$@" > "$work/files/resE.bin"
}

echo "== a lost run, W on its card, Escape back to the card"
new_work
save_hero 965 565 1 1 0 0 2 2  # his centre on the outlaws' corner: they swing at him
save_enemies 1000 600 50 1000 600 50
start_game || exit 1
click 540 260  # RESUME
await_card watch-card
check "the hero died and his card shows (mean $panel)" test -n "$panel"
sleep 1  # a key in the card's first 0.8 s is not taken
check "the run's recording is in place" test -s "$work/files/runs/last.run"
before=$(cd "$work/files" && find . -type f -printf '%p %s %T@\n' | sort)
xdotool key --window "$wid" w
await_watch watch-from-card
check "W on the card shows the run again over the whole window (foot $strip, field $field)" test -n "$strip"
xdotool key --window "$wid" Escape
await_card watch-back-on-card
check "Escape leaves the watch back to the card (mean $panel)" test -n "$panel"
check "the watch wrote nothing under files/" test "$(cd "$work/files" && find . -type f -printf '%p %s %T@\n' | sort)" = "$before"
xdotool key --window "$wid" Escape
sleep 1
close_game
check_exit
check "last line Game Cleaned" test "$(last_line)" = "Game Cleaned"
# The watch resumed the same save and lost the same way, silently: each trace once, the run's own.
check "the resume traced once" test "$(grep -o 'cxxz' "$work/trace.txt" | wc -l)" -eq 1
check "the death traced once" test "$(grep -o 'youre dead' "$work/trace.txt" | wc -l)" -eq 1
recording="$work/files/runs/last.run"
keep=$(mktemp /tmp/watch-e2e-XXXXXX.run)
cp "$recording" "$keep"

echo "== --watch of that recording: played to its end, a key ends the program"
new_work
(cd "$work" && exec env "${game_env[@]}" "$game" --watch "$keep" >"$work/trace.txt" 2>"$work/stderr.txt") &
pid=$!
wid=$(timeout 30 xdotool search --sync --name '^Bramblehoof$' 2>/dev/null | head -1)
check "a window opens" test -n "$wid"
xdotool windowfocus --sync "$wid" 2>/dev/null || true
await_watch watch-cli
check "the recording is shown (foot $strip, field $field)" test -n "$strip"
sleep 4  # the run lasted about a second: it is over
shot watch-cli-end
check "still open at the recording's end, waiting for a key" kill -0 "$pid"
xdotool key --window "$wid" Return
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then fail "a key ended the program"; close_game; else wait "$pid"; rc=$?; fi
check_exit
check "nothing on standard output" test ! -s "$work/trace.txt"
check "nothing under files/" test -z "$(find "$work/files" -type f)"

echo "== --watch of a file that is no recording: exit 2, one line, no window"
echo "not a recording" > "$keep"
(cd "$work" && exec env "${game_env[@]}" "$game" --watch "$keep" >"$work/trace.txt" 2>"$work/stderr.txt")
rc=$?
check "exit status 2 (was $rc)" test "$rc" -eq 2
check "one line on standard error" test "$(grep -c . "$work/stderr.txt")" -eq 1
check "it starts with bramblehoof:" grep -q '^bramblehoof: ' "$work/stderr.txt"
rm -f "$keep"

verdict watch
