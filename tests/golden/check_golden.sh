#!/usr/bin/env bash
# Verifies every kept recording of this folder with the built game: each must match this game
# (exit 0) and print exactly the line kept beside it. A change to the world's rules fails here,
# naming the frame at which a recording and the game part. Remake them with `make golden`.
# Usage: check_golden.sh GAME_BINARY [FOLDER]
set -uo pipefail

game=$(readlink -f "$1")
folder=$(readlink -f "${2:-$(dirname "$0")}")
work=$(mktemp -d /tmp/rec-golden-XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2

failures=0
count=0
for run in "$folder"/*.run; do
    [[ -e "$run" ]] || continue
    count=$((count + 1))
    expected=$(cat "${run%.run}.line")
    said=$("$game" --verify "$run" 2>"$work/err.txt")
    status=$?
    if [[ $status -ne 0 || "$said" != "$expected" || -s "$work/err.txt" ]]; then
        echo "FAIL: $(basename "$run"): exit $status"
        echo "  expected: $expected"
        echo "  printed:  $said"
        cat "$work/err.txt"
        failures=$((failures + 1))
    else
        echo "ok: $(basename "$run"): $said"
    fi
done
if [[ -n "$(ls -A "$work" | grep -v '^err.txt$')" ]]; then
    echo "FAIL: --verify wrote files: $(ls -A "$work")"
    failures=$((failures + 1))
fi
if [[ $count -eq 0 ]]; then
    echo "FAIL: no recordings in $folder"
    exit 1
fi
exit $((failures > 0))
