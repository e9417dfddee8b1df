#!/usr/bin/env bash
# Starts a CUPS scheduler (when none runs) with the test queue
# "BelvorineTest": a PostScript printer whose jobs are written to
# /tmp/belvorine-cups/BelvorineTest.out. Needs root (or sudo) to configure.
set -euo pipefail

queue=BelvorineTest
out_dir=/tmp/belvorine-cups
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
if ! lpstat -p "$queue" >/dev/null 2>&1; then
    $sudo lpadmin -p "$queue" -E -v "file://$out_dir/$queue.out" -m drv:///sample.drv/generic.ppd
fi
$sudo cupsenable "$queue" 2>/dev/null || true
$sudo cupsaccept "$queue" 2>/dev/null || true
lpstat -p "$queue"
