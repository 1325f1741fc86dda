#!/usr/bin/env bash
# korvalen-tool end to end on copies of the demo files: its options, exit statuses and
# messages, the export loaded by Python's csv and json modules, a closed pipe and -o.
# usage: ToolTest.sh TOOL DATA_DIR
set -uo pipefail
tool=$1
data=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data/FILE.FMT" "$data/DEMO.DAT" "$data/ORDERS.DAT" "$work/"
cd "$work"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# expect STATUS COMMAND...: runs it, output in out.txt and err.txt.
expect() {
    local want=$1
    shift
    "$@" >out.txt 2>err.txt
    local got=$?
    [ "$got" -eq "$want" ] || fail "$* exited $got, not $want: $(cat err.txt)"
}
one_error_line() {
    [ "$(wc -l <err.txt)" -eq 1 ] || fail "$1: not one line on standard error: $(cat err.txt)"
    grep -q -- "$2" err.txt || fail "$1: the message does not name $2: $(cat err.txt)"
}

expect 0 "$tool" --version
grep -qx "korvalen-tool [0-9.]*" out.txt || fail "--version: $(cat out.txt)"
for cmd in "" check export compare totals cut; do
    expect 0 "$tool" $cmd --help
    grep -q "Usage" out.txt || fail "$cmd --help shows no usage"
done

expect 2 "$tool"
one_error_line "no command" "subcommand"
expect 2 "$tool" check DEMO.DAT
one_error_line "check without --format" "format"
expect 2 "$tool" totals DEMO.DAT --format CUSTOMER --field x
one_error_line "a field that is no number" "field"
expect 2 "$tool" check NOSUCH.DAT --format CUSTOMER
one_error_line "a missing file" "NOSUCH.DAT"
expect 2 "$tool" check DEMO.DAT --format NOSUCH
one_error_line "an unknown format" "NOSUCH"
mkdir FOLDER.FMT
expect 2 "$tool" check DEMO.DAT --format CUSTOMER --fmt FOLDER.FMT
one_error_line "an unreadable FILE.FMT" "FOLDER.FMT"

expect 0 "$tool" check DEMO.DAT --format CUSTOMER
[ "$(tail -1 out.txt)" = "8 records, 0 faults" ] || fail "check DEMO.DAT: $(cat out.txt)"
expect 0 "$tool" check ORDERS.DAT --format ORDERS
printf '%-6s%-20s%-12s%-2s%-5s%-10s%-8sz\r\n' 104999 "BAD RECORD" NOWHERE XX 99999 0 00001.00 \
    >DEMO.BAD
cat DEMO.DAT DEMO.BAD >BAD.DAT
printf '10' >>BAD.DAT
expect 1 "$tool" check BAD.DAT --format CUSTOMER
grep -q '^record 9, position 64, field 8 (type E): format letter "z" is none of a$' out.txt ||
    fail "check BAD.DAT: $(cat out.txt)"
grep -q '^record 10: a fragment of 2 bytes after the last whole record$' out.txt ||
    fail "check BAD.DAT: no fragment: $(cat out.txt)"

# The export loads unchanged into Python's csv and json, and says what the records hold.
for f in DEMO:CUSTOMER ORDERS:ORDERS; do
    name=${f%%:*}
    format=${f##*:}
    expect 0 "$tool" export "$name.DAT" --format "$format" --csv -o "$name.csv"
    expect 0 "$tool" export "$name.DAT" --format "$format" --jsonl -o "$name.jsonl"
    python3 "$here/LoadExport.py" FILE.FMT "$format" "$name.DAT" "$name.csv" "$name.jsonl" ||
        fail "the export of $name.DAT does not load as its records"
done
ls -A | grep -q kvnew && fail "-o left a copy behind"
# -o into a folder that is not there: nothing written, one line.
expect 2 "$tool" export DEMO.DAT --format CUSTOMER -o nosuch/out.csv
one_error_line "-o in a missing folder" "nosuch/out.csv"

# A closed pipe ends the tool quietly.
# 16,384 records, a megabyte of CSV: far more than a pipe holds.
cp DEMO.DAT BIG.DAT
for i in $(seq 11); do cat BIG.DAT BIG.DAT >BIG2.DAT && mv BIG2.DAT BIG.DAT; done
"$tool" export BIG.DAT --format CUSTOMER 2>err.txt | head -1 >/dev/null
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || fail "export | head exited $status"
[ -s err.txt ] && fail "export | head said: $(cat err.txt)"

sed 's/HALVERSON/HALVORSEN/' DEMO.DAT >DEMO2.DAT
head -c $((66 * 7)) DEMO.DAT >DEMO7.DAT
expect 0 "$tool" compare DEMO.DAT DEMO.DAT --format CUSTOMER
expect 1 "$tool" compare DEMO.DAT DEMO2.DAT --format CUSTOMER
grep -q '^record 1, field 2 (CUSTOMER NAME): DEMO.DAT "HALVERSON HARDWARE  " / DEMO2.DAT "HALVORSEN HARDWARE  "$' out.txt ||
    fail "compare DEMO2.DAT: $(cat out.txt)"
expect 1 "$tool" compare DEMO.DAT DEMO7.DAT --format CUSTOMER
grep -q '^record 8 only in DEMO.DAT$' out.txt || fail "compare DEMO7.DAT: $(cat out.txt)"

expect 0 "$tool" totals ORDERS.DAT --format ORDERS --field 9 --expect 406.60
grep -qx 'difference 0.00 (balanced)' out.txt || fail "totals ORDERS.DAT: $(cat out.txt)"
expect 1 "$tool" totals ORDERS.DAT --format ORDERS --field 9 --expect 400
grep -qx 'difference 6.60 (does not balance)' out.txt || fail "totals --expect 400: $(cat out.txt)"

expect 0 "$tool" cut DEMO.DAT
sed 's/.\r$/\r/' DEMO.DAT | cmp -s - DEMO.fil || fail "cut: DEMO.fil is not DEMO.DAT without letters"

[ "$failures" -eq 0 ] && echo "korvalen-tool: all checks passed"
exit $((failures > 0))
