#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Packages already present are not fetched again; apt-get update runs once,
# only when something is missing.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev libcups2-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-ipafont-mincho fonts-ipafont-gothic
    cups cups-client cups-filters
    poppler-utils xvfb xauth x11-utils imagemagick time
    dpkg-dev desktop-file-utils appstream
)

# The sanitizer and fuzzing build (tools/sanitize.sh) needs clang and its
# runtime libraries.
if [ "${1:-}" = "--sanitize" ]; then
    PACKAGES+=(clang libclang-rt-14-dev)
fi

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
