#!/usr/bin/env bash
# The built game in a real X window, played several runs in one process: a lost run, Enter on its
# card, a new game closed in play, against the lost run alone in a fresh process; then ten runs
# left from the pause panel, with the memory the process holds, and a close on the menu.
# Usage: session_e2e.sh GAME_BINARY SOURCE_DIR
set -uo pipefail

source "$(dirname "$0")/lib.sh"

# A saved game whose hero stands on the outlaws' corner with 1 health: RESUME, and they kill him.
save_doomed_hero() {
  perl -e 'print pack("l<8", 965, 565, 1, 1, 0, 0, 2, 2), "Ann", "\0" x 21' > "$work/files/resP.bin"
  perl -e 'print pack("l<*", 1000, 600, 50, 1000, 600, 50)' > "$work/files/resE.bin"
}

# The resident memory of the game, in KiB.
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }

# Eight numbers of the saved hero.
saved_hero() { perl -e 'local $/; open my $f, "<", $ARGV[0] or exit; print join(" ", unpack("l<8", <$f>))' "$1"; }

echo "== the lost run alone, in a fresh process"
new_work
save_doomed_hero
start_game || exit 1
xdotool type --delay 60 "Ann"
click 540 260  # RESUME
sleep 2
xdotool key --window "$wid" Escape  # the card: back to the menu
sleep 1
check "Escape on the card leaves the game running" kill -0 "$pid"
xdotool key --window "$wid" Escape  # the menu: the game ends
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"; rc=$?
check_exit
check "the hero died" has "youre dead"
alone_trace=$(cat "$work/trace.txt"; echo x)
alone_trace=${alone_trace%x}
alone_record=$(od -An -tx1 "$work/files/players.bin")

echo "== die, Enter on the card, NEW GAME, walk, close"
new_work
save_doomed_hero
start_game || exit 1
xdotool type --delay 60 "Ann"
click 540 260
await_record 56
sleep 1.5  # the card takes no key in its first 0.8 s
xdotool key --window "$wid" Return
sleep 1
click 540 360  # NEW GAME on the menu shown again
sleep 1
for _ in $(seq 1 5); do xdotool key --delay 40 d; done
sleep 0.5
close_game
check_exit
trace=$(cat "$work/trace.txt"; echo x)
trace=${trace%x}
first=${alone_trace%Game Cleaned$'\n'}
check "the process's trace begins with the lost run's whole trace, without the teardown" \
  test "${trace:0:${#first}}" = "$first"
second=${trace:${#first}}
# Each tap walks a step, a tap held past 1/30 s by a busy machine one more: read where he got to.
read -r x y rest < <(saved_hero "$work/files/resP.bin")
begins=$'huyRender created2\nRender Building created\nfuck '"$x $x"$'\n'
ends=$'\n ***** \n\n ***** \nGame Cleaned\n'
check "then the new game's: chosen, set up, closed in play" test "${second:0:${#begins}}" = "$begins"
check "and its save, then the teardown once" \
  test "${second: -${#ends}}" = "$ends" -a "$(grep -c 'Game Cleaned' "$work/trace.txt")" -eq 1
check "nothing but the two runs between start-up and teardown" test "$(grep -c 'Inited' "$work/trace.txt")" -eq 1
check "two players records" test "$(stat -c %s "$work/files/players.bin")" -eq 112
check "the first is the lost run's" test "$(head -c 56 "$work/files/players.bin" | od -An -tx1)" = "$alone_record"
check "the second names Ann with no points" \
  test "$(tail -c 56 "$work/files/players.bin" | perl -e 'local $/; my $r = <STDIN>; my ($n) = unpack("Z52", $r); print $n, " ", unpack("l<", substr($r, 52))')" = "Ann 0"
check "the save is the new game's: five taps or a few more to the right, health 5000, level 1 ($x $y $rest)" \
  test "$x" -ge 360 -a "$x" -le 420 -a $(( (x - 300) % 12 )) -eq 0 -a "$y $rest" = "300 5000 1 0 0 2 2"

echo "== ten runs in one process, each left from the pause panel, then a close on the menu"
# What is measured is memory kept, not the allocators' own habits: sanitized, freed memory is
# otherwise held back from reuse (the quarantine that catches a use after free), and glibc's
# malloc otherwise serves large blocks from a heap it rarely shrinks once one has been freed.
for i in "${!game_env[@]}"; do
  [[ ${game_env[i]} == ASAN_OPTIONS=* ]] && game_env[i]+=":quarantine_size_mb=0"
done
game_env+=(MALLOC_MMAP_THRESHOLD_=131072)
new_work
start_game || exit 1
xdotool type --delay 60 "Bo"
for run in $(seq 1 10); do
  click 540 360
  sleep 0.8
  for _ in $(seq 1 3); do xdotool key --delay 40 d; done
  xdotool key --window "$wid" Escape
  sleep 0.4
  xdotool key --window "$wid" q
  sleep 0.8
  [[ $run -eq 2 ]] && after_second=$(rss)
done
after_tenth=$(rss)
grown=$(( after_tenth - after_second ))
check "resident memory grew ${grown} KiB from the second run (${after_second} KiB) to the tenth (at most 2048)" test "$grown" -le 2048
check "ten players records" test "$(stat -c %s "$work/files/players.bin")" -eq 560
save_before=$(od -An -tx1 "$work/files/resP.bin")
close_game
check_exit
trace=$(cat "$work/trace.txt"; echo x)
trace=${trace%x}
check "the close on the menu wrote the teardown alone, after the tenth save" \
  test "${trace: -${#ends}}" = "$ends" -a "$(grep -c '^ \*\*\*\*\* $' "$work/trace.txt")" -eq 20
check "ten runs chosen, none after the close" test "$(grep -o huy "$work/trace.txt" | wc -l)" -eq 10
check "no record and no save for the close" \
  test "$(stat -c %s "$work/files/players.bin")" -eq 560 -a "$(od -An -tx1 "$work/files/resP.bin")" = "$save_before"
check "no word of a window close" bash -c "! grep -qE 'pcchemu|fuck' '$work/trace.txt'"

verdict session
