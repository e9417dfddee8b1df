#!/usr/bin/env bash
# Redraws docs/screenshot.png: the main window with a filled order, on a
# virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    build/tools/readme_screenshot docs/screenshot.png
echo "Wrote docs/screenshot.png"
