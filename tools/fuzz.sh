#!/usr/bin/env bash
# Runs every fuzz target of a BELVORINE_FUZZ build for a bounded time.
#   bash tools/fuzz.sh [build folder] [seconds per target]
# Each target starts from its seed corpus (fuzz/corpus/<target>) and the
# inputs that once failed (fuzz/regressions/<target>); what it learns is kept
# in <build folder>/fuzz-corpus/<target> for the next run. A failing input is
# left in <build folder>/fuzz-artifacts/: minimise it, add it to
# fuzz/regressions/<target>/ and fix the fault.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-sanitize}"
seconds="${2:-40}"
targets=(record profile order_file jis render sjis)

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
mkdir -p "$build/fuzz-artifacts"
total=0
failed=()
for target in "${targets[@]}"; do
    corpus="$build/fuzz-corpus/$target"
    mkdir -p "$corpus"
    seeds=(fuzz/corpus/"$target")
    [ -d "fuzz/regressions/$target" ] && seeds+=(fuzz/regressions/"$target")
    log="$build/fuzz-artifacts/$target.log"
    if "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-artifacts/$target-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        failed+=("$target")
        grep -E "check failed|ERROR|runtime error|SUMMARY|^Base64:" "$log" | head -n 6 || true
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    runs=${runs:-0}
    total=$((total + runs))
    printf 'fuzz %-10s %10d executions in %ss: %s\n' "$target" "$runs" "$seconds" "$result"
done
printf 'fuzz total      %10d executions\n' "$total"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets failed: ${failed[*]} (inputs and logs in $build/fuzz-artifacts/)" >&2
    exit 1
fi
