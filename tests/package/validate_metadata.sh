#!/usr/bin/env bash
# Validates the menu entry or the AppStream metadata with the desktop's own
# validator: validate_metadata.sh <desktop-file-validate|appstreamcli> <file>.
# Exit status 77 (a skipped test) when the validator is not installed.
set -euo pipefail
tool=$1
file=$2
if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (bash tools/setup.sh installs it): not validated."
    exit 77
fi
case $tool in
    desktop-file-validate) desktop-file-validate "$file" ;;
    # No network: the screenshot's address is not fetched.
    appstreamcli) appstreamcli validate --no-net --pedantic "$file" ;;
esac
