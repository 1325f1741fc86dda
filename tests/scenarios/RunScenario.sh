#!/usr/bin/env bash
# Replays one scenario through kvscript and compares its output with the expected one.
# The scenario's leading "# fixture: NAME" lines name folders of fixtures/ that are copied,
# in turn, into a fresh folder that kvscript runs in; "# settings: SECTION" lines name
# sections of the settings file (under Korvalen or korvalen) shown at the end. That folder's
# path is written as $DIR in the output compared.
# Usage: RunScenario.sh KVSCRIPT SCENARIO.kvs   (expects SCENARIO.out beside it)
set -euo pipefail

kvscript=$1
scenario=$2
expected=${scenario%.kvs}.out
fixtures=$(dirname "$scenario")/fixtures

# Always under /tmp, not $TMPDIR: the file panel shows a long path's first three characters,
# and the folder's last part is long and fixed so that the panel's tail is the same each run.
work=$(mktemp -d /tmp/kvscenario.XXXXXX)
trap 'rm -rf "$work"' EXIT
dir=$work/scenario-data
mkdir "$dir"

sections=()
while IFS= read -r line || [ -n "$line" ]; do
    line=${line%$'\r'}
    if [[ $line =~ ^#\ settings:\ *(.+[^ ])\ *$ ]]; then
        sections+=("${BASH_REMATCH[1]}")
        continue
    fi
    [[ $line =~ ^#\ fixture:\ *([^ ]+)\ *$ ]] || break
    source_dir=$fixtures/${BASH_REMATCH[1]}
    if [ ! -d "$source_dir" ]; then
        echo "FAIL: no fixture folder $source_dir" >&2
        exit 1
    fi
    cp -R "$source_dir/." "$dir/"
done <"$scenario"

cp -R "$dir" "$work/before"

status=0
"$kvscript" "$dir" "$scenario" >"$work/stdout" 2>"$work/stderr" || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL: kvscript ended with status $status" >&2
    cat "$work/stderr" >&2
    exit 1
fi

# Lines read on standard input, the scratch folder's path written as $DIR.
as_dir() {
    while IFS= read -r line || [ -n "$line" ]; do
        printf '%s\n' "${line//"$dir"/'$DIR'}"
    done
}
as_dir <"$work/stdout" >"$work/actual"

# The data files and ".fil" copies the session created or changed, a record per line, line
# ends shown.
for data in "$dir"/*.dat "$dir"/*.DAT "$dir"/*.fil; do
    [ -f "$data" ] || continue
    before=$work/before/$(basename "$data")
    [ -f "$before" ] && cmp -s "$before" "$data" && continue
    echo "file: $(basename "$data")"
    sed -e 's/\r$/<CR>/' "$data"
done >>"$work/actual"

# The statistics and verification logs the session wrote, times and the operator's name
# written as <TIME> and <OPERATOR>: they are the run's own.
operator=$(id -un)
for log in "$dir"/*.kvstats "$dir"/*.kvverify; do
    [ -f "$log" ] || continue
    echo "log: $(basename "$log")"
    sed -E -e 's/[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+-][0-9]{2}:[0-9]{2}/<TIME>/g' \
        -e "s/,$operator,/,<OPERATOR>,/" "$log" | as_dir
done >>"$work/actual"

# The memory keys as the settings file holds them at the end; control characters shown as
# ^A and the like.
ini=$dir/kvscript.ini
if [ -f "$ini" ] && grep -q '^\[Korvalen/Memkey\]' "$ini"; then
    echo "settings: Memkey"
    sed -n '/^\[Korvalen\/Memkey\]/,/^\[/{/^F[2-9]=/p}' "$ini" | cat -v
fi >>"$work/actual"

for section in "${sections[@]}"; do
    echo "settings: $section"
    [ -f "$ini" ] && sed -n "/^\[[Kk]orvalen\/$section\]/,/^\[/{/^[^[]/p}" "$ini" | sed '/^$/d' | as_dir
done >>"$work/actual"

if [ ! -f "$expected" ]; then
    echo "FAIL: no expected output $expected; kvscript printed:" >&2
    cat "$work/actual" >&2
    exit 1
fi
# Blanks at line ends do not count: empty rows and panels end lines in blanks that editors
# tend to drop.
if ! diff -u -Z --label "$expected" --label "kvscript output" "$expected" "$work/actual"; then
    echo "FAIL: the output differs from $expected" >&2
    exit 1
fi
echo "scenario $(basename "$scenario") gives the expected output"
