#!/usr/bin/env bash
# The Debian package as a user installs it: made by cpack from this build,
# checked for the files and dependencies a fresh Debian 12 needs, unpacked
# into a scratch root and started there once on a virtual display as a
# system-wide install, run by a user who may not write beside the program.
# Such a run keeps its files in ~/.local/share/belvorine and leaves the
# program's folder alone; its window is the one the menu entry names.
# Usage: package_test.sh <build folder>
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    fail "cpack could not make the package"
fi
deb=$(find "$scratch/out" -maxdepth 1 -name 'belvorine_*.deb')
[[ "$(basename "$deb")" =~ ^belvorine_[0-9.]+_$(dpkg --print-architecture)\.deb$ ]] ||
    fail "package file name: $deb"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
program="$root/usr/bin/belvorine"
desktop="$root/usr/share/applications/belvorine.desktop"
for file in "$program" "$desktop" "$root/usr/share/metainfo/org.example.belvorine.metainfo.xml" \
    "$root/usr/share/icons/hicolor/scalable/apps/belvorine.svg"; do
    [ -f "$file" ] || fail "missing from the package: ${file#"$root"}"
done
[ -x "$program" ] || fail "the program is not executable"
grep -qx "Exec=belvorine" "$desktop" || fail "the menu entry does not start belvorine"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for side in 16 22 24 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${side}x${side}/apps/$icon.png"
    [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "${side}x${side}" ] ||
        fail "no ${side}x${side} icon named $icon"
done

# Every library the program links is declared by the package that holds
# it; libcups is opened at run time and the fonts are only read.
depends=$(dpkg-deb -f "$deb" Depends)
declared() {
    local entries entry
    IFS=, read -ra entries <<<"$depends"
    for entry in "${entries[@]}"; do
        entry=${entry# }
        [ "${entry%% *}" = "$1" ] && return 0
    done
    return 1
}
while read -r library; do
    path=$(ldd "$program" | awk -v lib="$library" '$1 == lib { print $3 }')
    [ -n "$path" ] || fail "$library is not found on this system"
    # dpkg knows a library by one of its names: /lib or /usr/lib.
    owner=$({ dpkg -S "$path" || dpkg -S "$(readlink -f "$path")"; } 2>/dev/null | cut -d: -f1)
    declared "$owner" || fail "$library ($owner) is not among the dependencies: $depends"
done < <(readelf -d "$program" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p')
for package in libcups2 fonts-ipafont-mincho fonts-ipafont-gothic; do
    declared "$package" || fail "$package is not among the dependencies: $depends"
done

# A user who may not write into the program's folder: root may write
# anywhere, so root runs it as nobody.
home="$scratch/home"
out="$scratch/result"
mkdir -p "$home" "$out"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$home" "$out"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
else
    chmod a-w "$root/usr/bin"
fi
env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" PROGRAM="$program" OUT="$out" \
    "${as_user[@]}" xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" bash -c '
    export XDG_RUNTIME_DIR="$HOME/run"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    "$PROGRAM" 2>"$OUT/stderr" &
    pid=$!
    window=""
    for _ in $(seq 1 600); do
        window=$(xwininfo -root -tree 2>/dev/null | grep "ベルヴォリン ---" | head -n 1 | awk "{print \$1}")
        [ -n "$window" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$window" ] && xprop -id "$window" WM_CLASS _NET_WM_ICON >"$OUT/window" 2>&1
    sleep 1
    # The close box'"'"'s way out; a message box that waits for an answer
    # would keep it from ending.
    kill "$pid" 2>/dev/null
    for _ in $(seq 1 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        xwininfo -root -tree | grep -o "\"[^\"]*\"" >"$OUT/left-open"
        kill -KILL "$pid"
    fi
    status=0
    wait "$pid" || status=$?
    echo "$status" >"$OUT/status"
' || true

[ -s "$out/window" ] || fail "no main window appeared; the program said: $(cat "$out/stderr" 2>/dev/null)"
[ ! -s "$out/left-open" ] ||
    fail "the program did not end on SIGTERM; its windows: $(tr '\n' ' ' <"$out/left-open")"
[ "$(cat "$out/status")" = 0 ] || fail "the program ended with $(cat "$out/status")"
class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
grep -q "^WM_CLASS.*\"$class\"" "$out/window" || fail "the window's class is not $class: $(head -n 1 "$out/window")"
grep -q "^_NET_WM_ICON" "$out/window" || fail "the window has no icon"

files="$home/.local/share/belvorine"
for extension in dat da1 da2; do
    [ -f "$files/belvorine.$extension" ] || fail "belvorine.$extension is not in $files"
done
[ "$(stat -c %a "$files")" = 700 ] || fail "$files is not the user's alone"
[ "$(ls "$root/usr/bin")" = belvorine ] || fail "the program wrote beside itself: $(ls "$root/usr/bin")"
echo "The package installs, starts and keeps its files in ~/.local/share/belvorine."
