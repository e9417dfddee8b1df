#!/usr/bin/env bash
# Measures the whole-process benchmarks: each program is copied into a
# folder of its own with a history of ROWS rows beside it (default 1000,
# 10000 and 100000) and run RUNS times (default 7), the files restored
# before every run; the resource usage comes from wait4() (python3). Prints the medians of wall time, CPU time
# (user + system, which other load disturbs less) and peak memory, with the
# printing system as it is and with no scheduler at all (CUPS_SERVER naming
# a socket that does not exist). A run that fails is reported and makes the
# script fail.
#   bash bench/run_process_benches.sh [build folder]
#   ROWS="10000" RUNS=11 PROGRAMS=print_process_bench bash bench/run_process_benches.sh
set -euo pipefail
build="${1:-$(dirname "$0")/../build}/bench"
sizes="${ROWS:-1000 10000 100000}"
runs="${RUNS:-7}"
programs="${PROGRAMS:-startup_process_bench print_process_bench}"
status=0

# Runs the program once; prints wall ms, CPU ms (user + system) and peak
# MiB, and fails with the program.
measure='
import os, subprocess, sys, time
start = time.perf_counter()
child = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
_, status, usage = os.wait4(child.pid, 0)
wall = time.perf_counter() - start
print("%.1f %.1f %.1f" % (wall * 1000, (usage.ru_utime + usage.ru_stime) * 1000, usage.ru_maxrss / 1024))
sys.exit(0 if os.waitstatus_to_exitcode(status) == 0 else 1)
'

median() {
    sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
printf '%-22s %7s  %-13s %9s %9s %9s\n' program rows scheduler "wall ms" "cpu ms" "peak MiB"
for program in $programs; do
    for rows in $sizes; do
        folder=$(mktemp -d)
        cp "$build/$program" "$folder/"
        QT_QPA_PLATFORM=offscreen "$folder/$program" --prepare "$rows" 2>/dev/null
        mkdir "$folder/pristine"
        cp -p "$folder"/"$program".* "$folder/pristine/"
        for scheduler in system none; do
            : > "$folder/runs.txt"
            for run in $(seq 1 "$runs"); do
                chmod -R u+w "$folder"/"$program".* 2>/dev/null || true
                rm -f "$folder"/"$program".* "$folder"/*.pdf
                cp -p "$folder"/pristine/* "$folder/"
                environment=(QT_QPA_PLATFORM=offscreen)
                [ "$scheduler" = none ] && environment+=(CUPS_SERVER="$folder/no-scheduler.sock")
                if ! env "${environment[@]}" python3 -c "$measure" "$folder/$program" \
                        >> "$folder/runs.txt"; then
                    echo "  $program ($rows rows, scheduler: $scheduler) FAILED"
                    status=1
                fi
            done
            printf '%-22s %7s  %-13s %9s %9s %9s\n' "$program" "$rows" "$scheduler" \
                "$(cut -d' ' -f1 "$folder/runs.txt" | median)" \
                "$(cut -d' ' -f2 "$folder/runs.txt" | median)" \
                "$(cut -d' ' -f3 "$folder/runs.txt" | median)"
        done
        for pdf in "$folder"/*.pdf; do
            [ -e "$pdf" ] && echo "  $(basename "$pdf"): $(pdfinfo "$pdf" | awk '/^Pages/ {print $2}') page(s)"
        done
        rm -rf "$folder"
    done
done
exit "$status"
