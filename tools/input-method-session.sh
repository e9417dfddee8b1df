#!/usr/bin/env bash
# A desktop session with a real Japanese input method, to try the program's
# text and number fields as a Japanese user types: a virtual display
# (Xvfb) with a window manager (openbox), a session bus, fcitx5 with Mozc
# (profile: keyboard-us, then mozc) and Qt's fcitx5 front end.
#
# The input method is the user's, so its packages are not installed by
# tools/setup.sh. On Debian 12:
#   apt-get install fcitx5 fcitx5-mozc fcitx5-frontend-qt6 dbus-x11 xdotool openbox
#
# Mozc's server refuses to run as root, so the whole session runs as an
# ordinary user: the caller, or when the caller is root the user named by
# BELVORINE_IM_USER (default "nobody", with a home folder in the session).
#
#   bash tools/input-method-session.sh start      # display, bus, fcitx5
#   bash tools/input-method-session.sh program    # install the build and start it
#   bash tools/input-method-session.sh run CMD... # any command inside the session
#   bash tools/input-method-session.sh shot FILE  # screenshot of the screen
#   bash tools/input-method-session.sh stop
#
# Inside the session (run ...): `fcitx5-remote -o` switches the input
# method on, `-c` off, `fcitx5-remote` prints 2 when it is on; keys are
# typed with xdotool, e.g. `xdotool key n e j i space Return`. The session
# lives in BELVORINE_IM_SESSION (default /tmp/belvorine-im-session) on the
# display BELVORINE_IM_DISPLAY (default :57).
set -euo pipefail
cd "$(dirname "$0")/.."

session="${BELVORINE_IM_SESSION:-/tmp/belvorine-im-session}"
display="${BELVORINE_IM_DISPLAY:-:57}"
user="$(id -un)"
if [ "$(id -u)" -eq 0 ]; then
    user="${BELVORINE_IM_USER:-nobody}"
fi

# Runs a command as the session's user with the session's environment, in
# place of the calling (sub)shell.
exec_as_user() {
    local environment=(
        HOME="$session/home" DISPLAY="$display" XDG_RUNTIME_DIR="$session/runtime"
        QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx GTK_IM_MODULE=fcitx
        LANG=C.UTF-8 PATH="/usr/local/bin:/usr/bin:/bin"
    )
    if [ -f "$session/bus" ]; then
        environment+=("DBUS_SESSION_BUS_ADDRESS=$(cat "$session/bus")")
    fi
    if [ "$(id -un)" = "$user" ]; then
        exec env "${environment[@]}" "$@"
    fi
    exec runuser -u "$user" -- env "${environment[@]}" "$@"
}

as_user() {
    (exec_as_user "$@")
}

# Starts a command in the background as the session's user and remembers
# its process id, so that stop ends exactly what start started.
start_background() {
    local name="$1"
    shift
    (exec_as_user "$@") >"$session/$name.log" 2>&1 &
    echo $! >>"$session/pids"
}

wait_for() {
    local what="$1"
    shift
    for _ in $(seq 1 100); do
        if "$@" >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    echo "input-method-session: $what did not come up" >&2
    return 1
}

write_profile() {
    mkdir -p "$session/home/.config/fcitx5/conf"
    cat >"$session/home/.config/fcitx5/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
EOF
}

start() {
    for tool in Xvfb openbox dbus-launch fcitx5 fcitx5-remote xdotool; do
        if ! command -v "$tool" >/dev/null; then
            echo "input-method-session: $tool is missing; see the packages at the top of $0" >&2
            exit 1
        fi
    done
    if [ -f "$session/pids" ]; then
        echo "input-method-session: already started ($session); stop it first" >&2
        exit 1
    fi
    mkdir -p "$session/home" "$session/runtime"
    chmod 700 "$session/runtime"
    write_profile
    : >"$session/pids"
    if [ "$(id -un)" != "$user" ]; then
        chown -R "$user" "$session"
    fi
    start_background xvfb Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp
    wait_for "the display" as_user xdpyinfo
    start_background openbox openbox
    as_user dbus-launch --sh-syntax >"$session/dbus.env"
    # The bus daemon forks away from dbus-launch; its id is in its output.
    sed -n "s/^DBUS_SESSION_BUS_ADDRESS='\(.*\)';$/\1/p" "$session/dbus.env" >"$session/bus"
    sed -n 's/^DBUS_SESSION_BUS_PID=\([0-9]*\);$/\1/p' "$session/dbus.env" >>"$session/pids"
    # Waits without asking fcitx5 itself: a call to it would make the bus
    # start a second one.
    start_background fcitx5 fcitx5 --disable=wayland
    wait_for "fcitx5" bus_has org.fcitx.Fcitx5
    echo "Session on $display as $user; logs and home in $session"
}

program() {
    local prefix="$session/app"
    bash tools/build.sh belvorine >/dev/null
    mkdir -p "$prefix"
    cmake --install build --prefix "$prefix" >/dev/null
    if [ "$(id -un)" != "$user" ]; then
        chown -R "$user" "$prefix"
    fi
    start_background belvorine "$prefix/belvorine"
    wait_for "the main window" as_user xdotool search --onlyvisible --class belvorine
    echo "Program started from $prefix (log: $session/belvorine.log)"
}

bus_has() {
    as_user dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q "boolean true"
}

# The processes that hold `file` open (the Mozc server that fcitx5 started
# holds its lock file in the session's home).
holders() {
    local link
    for link in /proc/[0-9]*/fd/*; do
        if [ "$(readlink "$link" 2>/dev/null)" = "$1" ]; then
            link="${link#/proc/}"
            echo "${link%%/*}"
        fi
    done | sort -u
}

stop() {
    if [ -f "$session/pids" ]; then
        tac "$session/pids" | while read -r pid; do
            kill "$pid" 2>/dev/null || true
        done
        for pid in $(holders "$session/home/.config/mozc/.server.lock"); do
            kill "$pid" 2>/dev/null || true
        done
    fi
    rm -f "$session/pids" "$session/bus"
}

case "${1:-}" in
    start) start ;;
    program) program ;;
    run)
        shift
        as_user "$@"
        ;;
    shot)
        as_user import -window root "$2"
        ;;
    stop) stop ;;
    *)
        sed -n '2,/^set -euo/p' "$0" | sed '$d'
        exit 2
        ;;
esac
