#!/usr/bin/env bash
# Configures and builds into build/ (kept between runs, so rebuilds are quick).
# Targets given as arguments are built alone (e.g. `belvorine`); none: all.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBELVORINE_WERROR=ON >/dev/null
if [ $# -gt 0 ]; then
    cmake --build build --parallel "$(nproc)" --target "$@"
else
    cmake --build build --parallel "$(nproc)"
fi
