#!/usr/bin/env bash
# Writes the small hand-made seed files of the fuzz corpus. Run from the repository root; the
# output is committed, so this only needs running again when a seed changes.
set -euo pipefail
corpus=tests/fuzz/corpus
mkdir -p "$corpus/fuzz_replay" "$corpus/fuzz_players" "$corpus/fuzz_saved_game"

# 32-bit little-endian integers as printf escapes.
le() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(( $1 & 255 )) $(( ($1 >> 8) & 255 )) $(( ($1 >> 16) & 255 )) $(( ($1 >> 24) & 255 )); }
zeros() { head -c "$1" /dev/zero; }
# A players record: name, zero padding to 52 bytes, score.
player() { printf '%s' "$1"; zeros $(( 52 - ${#1} )); printf "$(le "$2")"; }
# The hero's saved record: eight numbers, then a 24-byte name slot.
hero() { for v in "$@"; do printf "$(le "$v")"; done; printf 'Ann'; zeros 21; }
enemy() { printf "$(le "$1")$(le "$2")$(le "$3")"; }

# Replay: a recording, the tolerated blanks and line ends, and lines to skip.
printf '300 300\n301 300\n-12 40\n0 -7\n' > "$corpus/fuzz_replay/recorded.txt"
printf '12\t40\r\n5    6\r\n8 \t 9 trailing\n+4 -0' > "$corpus/fuzz_replay/blanks.txt"
printf '\n12\nabc 5\n5 abc\n4294967296 3\n1500000000 2\n2 2\n' > "$corpus/fuzz_replay/skipped.txt"

# Players: two runs; two runs and a torn tail.
{ player Ann 190; player '' 0; } > "$corpus/fuzz_players/two_runs.bin"
{ player Bob 30; player Sam 100; printf 'torn'; } > "$corpus/fuzz_players/torn_tail.bin"

# Saved game: a fresh level-1 game with two enemies; a level-3 game with a fragment after its
# enemies; a record with a level no game has.
{ hero 300 300 5000 1 0 0 2 2; enemy 0 0 50; enemy 0 0 50; } > "$corpus/fuzz_saved_game/fresh.bin"
{ hero -12 40 4970 3 2 1 6 6; enemy 1200 700 50; enemy -40 -60 10; printf 'frag'; } > "$corpus/fuzz_saved_game/level3.bin"
{ hero 1 1 1 9 0 0 2 2; } > "$corpus/fuzz_saved_game/bad_level.bin"

# Settings: the installed example, keys swapped between actions and lines refused, and lines the
# reader takes its own way (indented, inline comments, control bytes, a zero byte).
mkdir -p "$corpus/fuzz_settings"
cp dist/settings.ini "$corpus/fuzz_settings/example.ini"
printf '[keys]\nup = z, Up\nstop = Space\nattack = b\n[pad]\nattack = y\nstop =\n[sound]\nmusic = 11\n; a comment\n[play]\nshake = on\n' > "$corpus/fuzz_settings/swaps.ini"
printf '[keys]\r\nattack = Escape\r\n  continued\r\n[window]\nwidth=\xff\x1b]0;x\x07\n=\n[\nmute=maybe' > "$corpus/fuzz_settings/broken.ini"

# Times: a won, a lost and a left run, one assisted; and a line cut short.
mkdir -p "$corpus/fuzz_times" "$corpus/fuzz_ghost"
printf 'bramblehoof times 1\n0 won 3 1200 1500 1800 0 1\n2 lost 2 900 60 0 1 1\n5 left 3 0 0 30 0 3\n' > "$corpus/fuzz_times/three_runs.txt"
printf 'bramblehoof times 1\n0 won 3 12' > "$corpus/fuzz_times/cut.txt"

# Ghost: a track of two frames of level 1 and one of level 2, the hero fallen in its last.
step() { printf "$(printf '\\x%02x' "$1")"; shift; for v in "$@"; do printf "$(le "$v")"; done; }
{ printf 'BHGHOST\n'; printf "$(le 1)$(le 2)$(le 1)$(le 0)"; step 1 300 300 50 80 0 0 50 80;
  step 1 302 300 50 80 50 0 50 80; step 0 0 0 0 0 0 0 0 0; } > "$corpus/fuzz_ghost/three_frames.bin"
