#!/usr/bin/env bash
# Configures and builds into build/ (kept between runs, so rebuilds are quick).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBELVORINE_WERROR=ON >/dev/null
cmake --build build --parallel "$(nproc)"
