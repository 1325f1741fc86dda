#!/usr/bin/env bash
# korvalen-tool end to end on copies of the demo files: its options, exit statuses and
# messages, the export loaded by Python's csv and json modules, a closed pipe and -o; the
# summaries of a hand-written statistics and verification log, their CSV loaded back.
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
for cmd in "" check export compare totals cut stats verifylog; do
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

# The statistics log: anna keys 1,000 in ten minutes and 1,000 in one, so her day is 10,909
# keystrokes an hour, not the mean 33,000 of the two rows.
stats_head=start,end,operator,data_file,format,mode,keystrokes,records_stored,records_corrected,records_verified,mismatches,replaced,refused,keying_seconds,keystrokes_per_hour,records_per_hour,refused_per_1000,replaced_per_1000
cat >K.kvstats <<EOF
$stats_head
2026-12-11T09:00:00+01:00,2026-12-11T09:40:00+01:00,anna,/data/K.DAT,CUSTOMER,Entry,1000,10,0,0,0,0,2,600.0,6000,60.0,2.00,0.00
2026-12-11T13:00:00+01:00,2026-12-11T13:05:00+01:00,anna,"/data/K,""new"".DAT",CUSTOMER,Verify,1000,0,0,20,1,3,0,60.0,60000,1200.0,0.00,3.00
2026-12-12T08:00:00+01:00,2026-12-12T09:00:00+01:00,"smith, j",/data/K.DAT,CUSTOMER,Mixed,500,5,1,0,0,0,1,300.0,6000,72.0,2.00,0.00
EOF
expect 0 "$tool" stats K.kvstats
grep -q '^anna  *2026-12-11  *2  *2000  *0:11:00  *10909 ' out.txt || fail "stats K.kvstats: $(cat out.txt)"
grep -q '^total  *3  *2500 ' out.txt || fail "stats K.kvstats, the total: $(cat out.txt)"
expect 0 "$tool" stats K.kvstats --csv -o K.csv
python3 - K.csv <<'EOF' || fail "stats --csv does not load as the log's sums"
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], newline="", encoding="utf-8"), strict=True))
by = {(r["operator"], r["day"]): r for r in rows}
assert list(by) == [("anna", "2026-12-11"), ("smith, j", "2026-12-12"), ("total", "")], list(by)
anna, total = by["anna", "2026-12-11"], by["total", ""]
assert (anna["openings"], anna["keystrokes"], anna["keying_seconds"]) == ("2", "2000", "660.0"), anna
assert anna["keystrokes_per_hour"] == "10909", anna
for r in rows:
    keys, secs = int(r["keystrokes"]), float(r["keying_seconds"])
    records = sum(int(r[k]) for k in ("records_stored", "records_corrected", "records_verified"))
    assert abs(float(r["keystrokes_per_hour"]) - keys * 3600 / secs) <= 0.5, r
    assert abs(float(r["records_per_hour"]) - records * 3600 / secs) <= 0.05, r
    assert abs(float(r["refused_per_1000"]) - int(r["refused"]) * 1000 / keys) <= 0.005, r
    assert abs(float(r["replaced_per_1000"]) - int(r["replaced"]) * 1000 / keys) <= 0.005, r
for k in ("openings", "keystrokes", "records_stored", "refused", "replaced", "mismatches"):
    assert int(total[k]) == sum(int(r[k]) for r in rows[:-1]), k
print("stats:", len(rows) - 1, "operator days loaded")
EOF
{
    cat K.kvstats
    echo '2026-12-12T10:00:00+01:00,2026-12-12T10:01:00+01:00,anna,/data/K.DAT,CUSTOMER,Edit,1,0,0,0,0,0,0,1.0,3600,0.0,0.00,0.00'
} >BAD.kvstats
expect 1 "$tool" stats BAD.kvstats
one_error_line "a malformed row" '^korvalen-tool: BAD.kvstats line 5: mode "Edit"'
grep -q '^total  *3  *2500 ' out.txt || fail "stats BAD.kvstats, the others summed: $(cat out.txt)"
expect 2 "$tool" stats DEMO.DAT
one_error_line "a file that is no statistics log" "DEMO.DAT: the first line is not the header"
expect 2 "$tool" stats NOSUCH.kvstats
one_error_line "a missing log" "NOSUCH.kvstats"

# The verification log: anna replaces 3 characters in records 4 and 9 over her 2,000
# keystrokes of that day (1.50 per 1,000); a comma and a quote stand quoted.
cat >K.kvverify <<'EOF'
time,operator,record,position,field,field_type,stored,keyed,accepted
2026-12-11T13:01:00+01:00,anna,4,12,2,A,",",.,third key
2026-12-11T13:02:00+01:00,anna,4,13,2,A,"""", ,Backspace
2026-12-11T13:03:00+01:00,anna,9,1,1,N,7,1,third key
EOF
expect 0 "$tool" verifylog K.kvverify --csv -o V.csv
python3 - V.csv <<'EOF' || fail "verifylog --csv does not load as the log's counts"
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], newline="", encoding="utf-8"), strict=True))
assert [(r["operator"], r["day"]) for r in rows] == [("anna", "2026-12-11"), ("total", "")], rows
for r in rows:
    assert (r["replaced"], r["by_third_key"], r["by_backspace"]) == ("3", "2", "1"), r
    assert (r["records_touched"], r["keystrokes"], r["replaced_per_1000"]) == ("2", "2000", "1.50"), r
print("verifylog:", len(rows) - 1, "operator day loaded")
EOF
expect 0 "$tool" verifylog K.kvverify --record 9
grep -q '^anna  *2026-12-11  *1  *1  *0  *1  *2000  *0.50$' out.txt ||
    fail "verifylog --record 9: $(cat out.txt)"
cp K.kvverify L.kvverify
expect 0 "$tool" verifylog L.kvverify
one_error_line "no statistics log beside" "no statistics log L.kvstats"
grep -q '^anna  *2026-12-11  *3  *2  *1  *2  *-  *-$' out.txt || fail "verifylog L.kvverify: $(cat out.txt)"
expect 0 "$tool" verifylog L.kvverify --stats K.kvstats
grep -q ' 2000  *1.50$' out.txt || fail "verifylog --stats K.kvstats: $(cat out.txt)"
expect 2 "$tool" verifylog L.kvverify --stats NOSUCH.kvstats
one_error_line "--stats naming a missing file" "NOSUCH.kvstats"
expect 2 "$tool" verifylog K.kvverify --record 0
one_error_line "--record 0" "record"

[ "$failures" -eq 0 ] && echo "korvalen-tool: all checks passed"
exit $((failures > 0))
