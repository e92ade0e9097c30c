#!/usr/bin/env bash
# Builds the libFuzzer targets (build/fuzz, clang) and runs each: first every seed under
# fuzz/corpus/<target>/ as it is, then SECONDS of fuzzing from those seeds. New inputs go to a
# scratch folder, never into the repository. Prints each target's executions and crashes, then
# one line "fuzz: N executions, M crashes"; exits non-zero when any target crashed.
# FUZZ_BUILD_DIR overrides the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: scripts/fuzz.sh SECONDS}
build=${FUZZ_BUILD_DIR:-build/fuzz}
targets=(fuzz_value_conversion fuzz_cabinet_import fuzz_command_line fuzz_export_scan
    fuzz_export_compare fuzz_export_checks fuzz_workbook_check)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DQOR_FUZZ=ON -DQOR_BUILD_TESTS=OFF -DQOR_WERROR=ON >/dev/null
cmake --build "$build" --target fuzzers -j2

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
crashes="$build/crashes/$(date +%Y%m%d-%H%M%S)"
echo "Crash inputs are kept in $crashes/<target>/"
mkdir -p "$build/logs"
total_runs=0
total_crashes=0
for target in "${targets[@]}"; do
    program="$build/fuzz/$target"
    seeds=(fuzz/corpus/"$target"/*)
    scratch="$build/scratch/$target"
    rm -rf "$scratch"
    mkdir -p "$scratch" "$crashes/$target"
    found=0

    # Every seed whole: fuzzing reads none longer than its -max_len.
    log="$build/logs/$target.seeds.log"
    if ! "$program" "${seeds[@]}" >"$log" 2>&1; then
        echo "$target: a seed fails: $(sed -n 's/^Running: //p' "$log" | tail -n 1) (log: $log)"
        found=1
    fi
    runs=${#seeds[@]}

    # Exports are fuzzed small: a scan reads the file several times, and short inputs already
    # cross the reader's refills when its buffer is small.
    options=()
    [ "$target" = fuzz_export_scan ] && options=(-max_len=4096)
    [ "$target" = fuzz_export_compare ] && options=(-max_len=4096)
    [ "$target" = fuzz_export_checks ] && options=(-max_len=4096)
    log="$build/logs/$target.log"
    # The scratch folder comes first, so libFuzzer adds its finds there and only reads the
    # seeds. A crash ends the target's run.
    status=0
    "$program" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 "${options[@]}" \
        -artifact_prefix="$crashes/$target/" "$scratch" "fuzz/corpus/$target" >"$log" 2>&1 ||
        status=$?
    fuzzed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    artifacts=$(find "$crashes/$target" -type f | wc -l)
    if [ "$status" -ne 0 ]; then
        found=$((found + (artifacts > 0 ? artifacts : 1)))
    fi
    runs=$((runs + ${fuzzed:-0}))
    echo "$target: $runs executions (${rate:-0}/s fuzzing), $found crashes (log: $log)"
    total_runs=$((total_runs + runs))
    total_crashes=$((total_crashes + found))
done
echo "fuzz: $total_runs executions, $total_crashes crashes"
[ "$total_crashes" -eq 0 ]
