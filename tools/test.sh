#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite headless.
# A CUPS scheduler with a file-backed test queue is started when none runs,
# so that the printing tests use the real printing system, and the local
# PostgreSQL server with a test database, so that the register's tests run
# on PostgreSQL as well as on SQLite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh --tests
bash tools/cups-test-queue.sh || echo "No CUPS test queue: the tests that need it will say so."
bash tools/postgres-test-server.sh || echo "No PostgreSQL test database: the register's PostgreSQL tests are skipped."
bash tools/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@"
