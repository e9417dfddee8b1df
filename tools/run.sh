#!/usr/bin/env bash
# Installs what is missing, builds the program (only the program, not the
# tests and benchmarks), installs it into its own folder (default
# ~/Belvorine, kept across rebuilds with its settings and history) and starts
# it. Without a display it runs on a virtual one, saves a screenshot of the
# main window and closes the program the way the user would, so its
# settings and data files are written as after any normal exit.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh belvorine

# Qt wants a private runtime folder; a plain shell or a container has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

prefix="${BELVORINE_HOME:-$HOME/Belvorine}"
mkdir -p "$prefix"
cmake --install build --prefix "$prefix" >/dev/null
echo "Installed into $prefix"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$prefix/belvorine"
fi

shot="${BELVORINE_SCREENSHOT:-$prefix/belvorine-screenshot.png}"
export BELVORINE_PREFIX="$prefix" BELVORINE_SHOT="$shot"
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" bash -c '
    "$BELVORINE_PREFIX/belvorine" &
    pid=$!
    for _ in $(seq 1 100); do
        if xwininfo -root -tree 2>/dev/null | grep -q "ベルヴォリン ---"; then
            break
        fi
        sleep 0.1
    done
    sleep 1
    window=$(xwininfo -root -tree | grep "ベルヴォリン ---" | head -n 1 | awk "{print \$1}")
    if [ -n "$window" ]; then
        import -window "$window" "$BELVORINE_SHOT"
    else
        import -window root "$BELVORINE_SHOT"
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
'
echo "No display: the program ran on a virtual display. Screenshot: $shot"
