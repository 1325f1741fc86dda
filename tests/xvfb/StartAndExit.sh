#!/usr/bin/env bash
# Starts the real program on an Xvfb server of its own, as an operator would: the tip of the
# day is closed, the main window appears with its caption and Num Lock on, and File > Exit
# ends the program, which leaves its settings behind.
# Usage: StartAndExit.sh <application directory of the build>
set -euo pipefail
source "$(dirname "$0")/XServer.sh"

# Num Lock starts off, so that switching it on is seen.
[ "$(xset q | grep -o 'Num Lock: *o[nf]*' | awk '{print $3}')" = off ] || fail "Num Lock already on"

start_program
tip=$(wait_window "Tip of the Day")
xdotool windowfocus --sync "$tip" key --clearmodifiers Return
main=$(wait_window "KORVALEN Data Entry and Verification - Orlenmark")
[ "$(xset q | grep -o 'Num Lock: *o[nf]*' | awk '{print $3}')" = on ] || fail "Num Lock was not switched on"

xdotool windowfocus --sync "$main" key --clearmodifiers ctrl+x
wait_exit

[ -f "$ini" ] || fail "no settings file at $ini"
grep -q '^dupkey=55' "$ini" || fail "the Duplicate key default was not stored"
echo "started, showed the main window with Num Lock on, and exited cleanly"
