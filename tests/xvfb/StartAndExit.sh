#!/usr/bin/env bash
# Starts the real program on an Xvfb server of its own, as an operator would: the tip of the
# day is closed, the main window appears with its caption and Num Lock on, and File > Exit
# ends the program, which leaves its settings behind.
# Usage: StartAndExit.sh <application directory of the build>
set -euo pipefail

build_app_dir=$1
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The program runs from a copy of its application directory with a home of its own, so
# neither the build's files nor the user's settings are touched.
cp -r "$build_app_dir" "$work/app"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$XDG_CONFIG_HOME"

display=
for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=:$n
        break
    fi
done
[ -n "$display" ] || fail "no free display number"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb_pid=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

# Num Lock starts off, so that switching it on is seen.
[ "$(xset q | grep -o 'Num Lock: *o[nf]*' | awk '{print $3}')" = off ] || fail "Num Lock already on"

"$work/app/korvalen" &
app_pid=$!

wait_window() {
    local name=$1 id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$app_pid" 2>/dev/null || fail "the program ended early"
        sleep 0.1
    done
    fail "no window named '$name'"
}

tip=$(wait_window "Tip of the Day")
xdotool windowfocus --sync "$tip" key --clearmodifiers Return
main=$(wait_window "KORVALEN Data Entry and Verification - Orlenmark")
[ "$(xset q | grep -o 'Num Lock: *o[nf]*' | awk '{print $3}')" = on ] || fail "Num Lock was not switched on"

xdotool windowfocus --sync "$main" key --clearmodifiers ctrl+x
for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "Exit did not end the program"
wait "$app_pid" || fail "the program exited with status $?"
app_pid=

ini=$XDG_CONFIG_HOME/Korvalen/Korvalen.ini
[ -f "$ini" ] || fail "no settings file at $ini"
grep -q '^dupkey=55' "$ini" || fail "the Duplicate key default was not stored"
echo "started, showed the main window with Num Lock on, and exited cleanly"
