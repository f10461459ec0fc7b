#!/usr/bin/env bash
# Builds the file-layer fuzz targets with libFuzzer, AddressSanitizer and UBSan, replays each over
# its seed corpus, then fuzzes each for a bounded number of runs from a fixed seed, so a run on the
# same code finds the same (a time bound cuts a slow machine's run short, to a prefix of the same
# runs). Fails on any crash or sanitizer report. Longer runs with other seeds explore further:
#   build-fuzz/fuzz_settings -max_total_time=600 tests/fuzz/corpus/fuzz_settings
# Run from the repository root: tests/fuzz/run_fuzz.sh [build folder, default build-fuzz]
set -euo pipefail

build=${1:-build-fuzz}
targets=(fuzz_replay fuzz_players fuzz_saved_game fuzz_settings fuzz_recording fuzz_times fuzz_ghost)
fuzz_seconds=30
fuzz_runs=10000

if [[ ! -d src/persist || ! -d tests/fuzz/corpus ]]; then
    echo "run_fuzz.sh: run from the repository root" >&2
    exit 2
fi
mkdir -p "$build"

# UBSan findings must stop the run like ASan's do.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1

# The two cores are shared: build two targets at a time.
pids=()
for t in "${targets[@]}"; do
    echo "== building $t"
    # (The settings reader in src/persist parses with libinih; the settings themselves name keys
    # and pad buttons through SDL, which needs no start-up for that, and match a language against
    # the shipped ones, which opens no catalogue.)
    extra=()
    if [[ $t == fuzz_settings ]]; then
        extra=(src/present/Settings.cpp src/input/KeyBindings.cpp src/present/Language.cpp
               -DBRAMBLEHOOF_LOCALE_DIR='"/nonexistent"' $(pkg-config --cflags --libs sdl2))
    fi
    clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I src src/persist/*.cpp \
        "tests/fuzz/$t.cpp" "${extra[@]}" $(pkg-config --cflags --libs inih) -o "$build/$t" &
    pids+=($!)
    if (( ${#pids[@]} == 2 )); then
        wait "${pids[0]}"
        pids=("${pids[@]:1}")
    fi
done
for p in "${pids[@]}"; do wait "$p"; done

scratch=$(mktemp -d /tmp/bramblehoof-fuzz-run-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

for t in "${targets[@]}"; do
    echo "== $t: seed corpus"
    "$build/$t" -runs=0 -artifact_prefix="$scratch/$t-" tests/fuzz/corpus/"$t"
    echo "== $t: ${fuzz_runs} runs of fuzzing (at most ${fuzz_seconds} s)"
    # Fuzz into a copy, so the committed corpus never changes.
    mkdir -p "$scratch/corpus-$t"
    cp tests/fuzz/corpus/"$t"/* "$scratch/corpus-$t/"
    if ! "$build/$t" -seed=1 -runs="$fuzz_runs" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/$t-" "$scratch/corpus-$t" 2> "$scratch/$t.log"; then
        tail -n 60 "$scratch/$t.log" >&2
        echo "run_fuzz.sh: $t failed; the input is kept in $build/" >&2
        exit 1
    fi
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$scratch/$t.log" || true
done
echo "== all fuzz targets passed"
