#!/usr/bin/env bash
# Measures the whole-process benchmarks: each program is copied into a
# folder of its own with a history of ROWS rows (default 10000) beside it and
# run under /usr/bin/time -v; prints the elapsed time and the peak memory.
set -euo pipefail
build="${1:-$(dirname "$0")/../build}/bench"
rows="${ROWS:-10000}"
runs="${RUNS:-5}"
for program in startup_process_bench print_process_bench; do
    folder=$(mktemp -d)
    cp "$build/$program" "$folder/"
    QT_QPA_PLATFORM=offscreen "$folder/$program" --prepare "$rows"
    echo "== $program ($rows history rows, $runs runs)"
    for run in $(seq 1 "$runs"); do
        QT_QPA_PLATFORM=offscreen /usr/bin/time -v "$folder/$program" 2> "$folder/time.txt" >/dev/null
        awk -F': ' '/Elapsed \(wall clock\)/ {t=$2} /Maximum resident set size/ {m=$2}
                    END {printf "  run: %s wall, %.1f MiB peak\n", t, m/1024}' "$folder/time.txt"
    done
    for pdf in "$folder"/*.pdf; do
        [ -e "$pdf" ] && echo "  $(basename "$pdf"): $(pdfinfo "$pdf" | awk '/^Pages/ {print $2}') page(s)"
    done
    rm -rf "$folder"
done
