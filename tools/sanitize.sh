#!/usr/bin/env bash
# The sanitizer step of CI: builds the program, its tests and the fuzz
# targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# into build-sanitize/, runs every fuzz target for a bounded time
# (BELVORINE_FUZZ_SECONDS each, 40 by default) and the whole test suite once.
# The fault injection and bad-file tests start hundreds of processes, and
# the package is made of the program users get: they run in the normal build
# (tools/test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh --sanitize
# -O1 with line tables: quick to build, and enough for the sanitizers' traces.
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O1 -gline-tables-only" \
    -DBELVORINE_WERROR=ON -DBELVORINE_FUZZ=ON -DBELVORINE_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize --parallel "$(nproc)"
fuzz=0
bash tools/fuzz.sh build-sanitize "${BELVORINE_FUZZ_SECONDS:-40}" || fuzz=$?
bash tools/cups-test-queue.sh >/dev/null || echo "No CUPS test queue: the tests that need it will say so."
cd build-sanitize
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" \
    -E "^(FaultInjection|BadFiles|Package)\."
# BELVORINE_FUZZ_REPORT_ONLY=1 (CI): an input the fuzzers find for the first
# time is reported (its Base64 is in the log above, for fuzz/regressions/)
# without failing the run; the inputs kept in fuzz/regressions/ are replayed
# by ctest in every build and do fail it.
if [ "$fuzz" -ne 0 ] && [ "${BELVORINE_FUZZ_REPORT_ONLY:-0}" = 1 ]; then
    echo "NEW FUZZ FINDINGS (reported, not failing this run): see above" >&2
    fuzz=0
fi
exit "$fuzz"
