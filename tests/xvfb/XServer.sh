# Sourced by the Xvfb tests: a work folder holding a copy of the application directory and a
# home of its own, so neither the build's files nor the user's settings are touched; an Xvfb
# server on a free display; helpers to find windows and to end the program.
# Expects $1 to be the application directory of the build.

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

cp -r "$build_app_dir" "$work/app"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$XDG_CONFIG_HOME"
ini=$XDG_CONFIG_HOME/Korvalen/Korvalen.ini

display=
for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=:$n
        break
    fi
done
# Where no X server can be had, the test is skipped (exit status 77), saying why.
skip() {
    echo "SKIPPED: $*" >&2
    exit 77
}
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v xdotool >/dev/null || skip "xdotool is not installed"
[ -n "$display" ] || skip "no free display number"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb_pid=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || skip "Xvfb did not start on $display"

start_program() {
    "$work/app/korvalen" &
    app_pid=$!
}

# Prints the id of the visible window whose name matches the pattern, waiting up to 10 s.
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

# Waits up to 5 s for the program to end after Exit and checks its exit status.
wait_exit() {
    for _ in $(seq 50); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && fail "Exit did not end the program"
    wait "$app_pid" || fail "the program exited with status $?"
    app_pid=
}
