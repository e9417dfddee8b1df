#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite headless.
# A CUPS scheduler with a file-backed test queue is started when none runs,
# so that the printing tests use the real printing system.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/cups-test-queue.sh || echo "No CUPS test queue: the tests that need it will say so."
bash tools/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@"
