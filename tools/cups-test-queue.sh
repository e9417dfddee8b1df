#!/usr/bin/env bash
# Starts a CUPS scheduler (when none runs) with the test queues:
# - "BelvorineTest": a PostScript printer whose jobs are written to
#   /tmp/belvorine-cups/BelvorineTest.out;
# - "BelvorineTrays": the same with the printer description
#   tools/belvorine-trays.ppd (Letter and A4 only, unequal unprintable
#   borders, three trays), written to /tmp/belvorine-cups/BelvorineTrays.out;
# - "BelvorineSilent": a network printer on a local port where nothing
#   answers, so that its jobs never finish.
# Needs root (or sudo) to configure.
set -euo pipefail

queue=BelvorineTest
out_dir=/tmp/belvorine-cups
tools_dir=$(cd "$(dirname "$0")" && pwd)
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if sudo -n true 2>/dev/null; then
        sudo="sudo -n"
    else
        echo "cups-test-queue: not root and no sudo; skipping" >&2
        exit 1
    fi
fi

scheduler_running() {
    lpstat -r 2>/dev/null | grep -q "is running"
}

# File devices let a queue write its jobs to a file. A scheduler that is
# already running rereads its configuration on SIGHUP (it is not stopped).
if ! grep -q '^FileDevice Yes' /etc/cups/cups-files.conf 2>/dev/null; then
    echo 'FileDevice Yes' | $sudo tee -a /etc/cups/cups-files.conf >/dev/null
    pid_file=/run/cups/cupsd.pid
    if scheduler_running && [ -s "$pid_file" ]; then
        $sudo kill -HUP "$(cat "$pid_file")" 2>/dev/null || true
        for _ in $(seq 1 50); do
            sleep 0.1
            scheduler_running && break
        done
    fi
fi

if ! scheduler_running; then
    # Without an init system nobody has made the scheduler's runtime folder.
    $sudo mkdir -p /run/cups
    $sudo /usr/sbin/cupsd
    for _ in $(seq 1 50); do
        scheduler_running && break
        sleep 0.1
    done
fi

$sudo mkdir -p "$out_dir"
$sudo chmod 0777 "$out_dir"
# add_queue NAME DEVICE-URI lpadmin-driver-options...
add_queue() {
    local name=$1 uri=$2
    shift 2
    if ! lpstat -p "$name" >/dev/null 2>&1; then
        $sudo lpadmin -p "$name" -E -v "$uri" "$@" 2>/dev/null
    fi
    $sudo cupsenable "$name" 2>/dev/null || true
    $sudo cupsaccept "$name" 2>/dev/null || true
    lpstat -p "$name"
}

add_queue "$queue" "file://$out_dir/$queue.out" -m drv:///sample.drv/generic.ppd
add_queue BelvorineTrays "file://$out_dir/BelvorineTrays.out" -P "$tools_dir/belvorine-trays.ppd"
# Port 9 (discard) on this machine: no printer takes the connection.
add_queue BelvorineSilent "socket://127.0.0.1:9" -m drv:///sample.drv/generic.ppd
