#!/usr/bin/env bash
# kvscript's exit status and error messages: 2 with the line named for a script error,
# 2 for a missing folder or an unreadable script; a script on standard input runs.
# Usage: ExitStatus.sh KVSCRIPT
set -uo pipefail

kvscript=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# expect NAME STATUS STDERR-PART STDOUT -- ARGS...: runs kvscript with ARGS (standard input
# from $work/stdin) and checks its status, that stderr holds the part (or is empty when it
# is), and stdout exactly.
expect() {
    local name=$1 want_status=$2 want_err=$3 want_out=$4
    shift 5
    local status=0
    # Nothing may wait for ever: a FIFO is refused, not read.
    timeout 20 "$kvscript" "$@" <"$work/stdin" >"$work/out" 2>"$work/err" || status=$?
    if [ "$status" -ne "$want_status" ]; then
        echo "FAIL $name: status $status, expected $want_status" >&2
        failed=1
    fi
    if { [ -z "$want_err" ] && [ -s "$work/err" ]; } ||
        { [ -n "$want_err" ] && ! grep -qF -- "$want_err" "$work/err"; }; then
        echo "FAIL $name: stderr does not hold '$want_err':" >&2
        cat "$work/err" >&2
        failed=1
    fi
    if [ "$(cat "$work/out")" != "$want_out" ]; then
        echo "FAIL $name: stdout was:" >&2
        cat "$work/out" >&2
        failed=1
    fi
}

mkdir "$work/dir"
printf 'BM' >"$work/dir/dupoff.bmp"
# Tips off: the start prints nothing before the script's own output.
printf '[korvalen/Options]\nShow Tips at Startup=0\n' >"$work/dir/kvscript.ini"
printf 'menu Open\n' >"$work/stdin"
printf '# a script\nanswer OK\n\nanswers OK\nmenu Open\n' >"$work/bad.kvs"

expect ScriptError 2 "$work/bad.kvs:4: unknown command 'answers'" "" -- "$work/dir" "$work/bad.kvs"
expect NoFolder 2 "no such folder" "" -- "$work/missing" "$work/bad.kvs"
expect NoScript 2 "cannot read the script" "" -- "$work/dir" "$work/missing.kvs"
expect FolderAsScript 2 "cannot read the script" "" -- "$work/dir" "$work/dir"
ln -s /proc/self/mem "$work/mem.kvs"
expect UnreadableScript 2 "cannot read the script (Input/output error)" "" -- "$work/dir" "$work/mem.kvs"
mkfifo "$work/fifo.kvs"
expect FifoScript 2 "cannot read the script (it is a named pipe (FIFO), not a file)" "" -- \
    "$work/dir" "$work/fifo.kvs"
expect Usage 2 "usage: kvscript DIR SCRIPT" "" -- "$work/dir"
expect StandardInput 0 "" "box: KORVALEN | No File Selected" -- "$work/dir" -
[ -f "$work/dir/kvscript.ini" ] || { echo "FAIL: no kvscript.ini in the folder" >&2; failed=1; }

# Settings that cannot be read are told of, left as they are, and not saved: status 1.
mkdir -p "$work/unread/kvscript.ini"
printf 'BM' >"$work/unread/dupoff.bmp"
status=0
printf 'menu Exit\n' | timeout 20 "$kvscript" "$work/unread" - >"$work/out" 2>"$work/err" || status=$?
if [ "$status" -ne 1 ] || ! grep -qF "could not be read: it is a folder, not a file" "$work/out" ||
    [ ! -d "$work/unread/kvscript.ini" ]; then
    echo "FAIL UnreadableSettings: status $status, output:" >&2
    cat "$work/out" "$work/err" >&2
    failed=1
fi

[ "$failed" -eq 0 ] && echo "kvscript exit status and messages as expected"
exit "$failed"
