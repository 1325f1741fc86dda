#!/usr/bin/env bash
# Kills kvscript with SIGKILL at random moments while it inserts a record at record 1 of a
# large data file, and while it deletes record 1, and checks after each kill that the file
# holds exactly the records before the operation or exactly the records after it. Then kills
# Tools > Cut of the same file: its .fil copy must be the old one or the complete new one,
# and the next Cut must leave none of the copies the kills left behind.
# Usage: KillTest.sh KVSCRIPT [KILLS_PER_OPERATION [RECORDS]]   (defaults 30 and 300000)
set -euo pipefail

kvscript=$1
kills=${2:-30}
records=${3:-300000}

# On the real disk, not a tmpfs, so that the flushes take the time they take in use.
work=$(mktemp -d "${KILLTEST_DIR:-/var/tmp}/kvkill.XXXXXX")
trap 'rm -rf "$work"' EXIT
dir=$work/data
mkdir "$dir"

line=$(printf 'A%.0s' {1..1})$(printf -- '-%.0s' {1..78})E
printf '* one field of 79 characters\r\nLONG\r\n%s\r\nDATA\r\n' "$line" >"$dir/FILE.FMT"
awk -v n="$records" 'BEGIN { for (i = 1; i <= n; i++) printf "R%07d%071da\r\n", i, 0 }' \
    >"$work/before"
new=$(printf 'N%.0s' {1..79})
{ printf '%sa\r\n' "$new"; cat "$work/before"; } >"$work/after-insert"
tail -c +83 "$work/before" >"$work/after-delete"
sed 's/.\r$/\r/' "$work/before" >"$work/cut-new"
printf 'an older copy\r\n' >"$work/cut-old"

cat >"$work/insert.kvs" <<SCRIPT
choose K.DAT
choose LONG-80
menu Open
key Ctrl+Home
answer Yes
menu Insert
type $new
SCRIPT
cat >"$work/cut.kvs" <<SCRIPT
choose K.DAT
menu Cut
SCRIPT
cat >"$work/delete.kvs" <<SCRIPT
choose K.DAT
choose LONG-80
menu Open
key Ctrl+Home
answer Yes
menu Delete
SCRIPT

run() { "$kvscript" "$dir" "$work/$1.kvs" >/dev/null 2>&1; }

failures=0
# kills OP FILE OLD NEW: runs OP three times whole from OLD in FILE, then kills it at random
# moments within about its longest run, and checks after each kill that FILE holds OLD or
# NEW. Counts unfinished copies of FILE the kills left in "left".
kills() {
    local op=$1 file=$dir/$2 before=$3 after=$4 span=0 took start delay pid k
    for _ in 1 2 3; do
        cp "$before" "$file"
        start=$(date +%s%N)
        run "$op"
        took=$(( ($(date +%s%N) - start) / 1000000 ))
        [ "$took" -gt "$span" ] && span=$took
        if ! cmp -s "$file" "$after"; then
            echo "FAIL: an uninterrupted $op did not give the expected file" >&2
            exit 1
        fi
    done
    local old=0 newer=0
    left=0
    for ((k = 1; k <= kills; k++)); do
        cp "$before" "$file"
        delay=$(awk -v s="$RANDOM$k" -v t="$span" 'BEGIN { srand(s); printf "%.3f", rand() * t * 1.5 / 1000 }')
        # kvscript itself in the background, not a subshell, so the kill reaches it.
        "$kvscript" "$dir" "$work/$op.kvs" >/dev/null 2>&1 &
        pid=$!
        sleep "$delay"
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        if cmp -s "$file" "$before"; then
            old=$((old + 1))
        elif cmp -s "$file" "$after"; then
            newer=$((newer + 1))
        else
            echo "FAIL: $op killed after ${delay}s left a file that is neither the old nor the new content" >&2
            failures=$((failures + 1))
        fi
        compgen -G "$dir/.$2.kvnew-*" >/dev/null && left=$((left + 1))
    done
    echo "$op of $records records (up to ${span} ms uninterrupted): $kills kills, $old left the old content, $newer the new, $left an unfinished copy"
}

kills insert K.DAT "$work/before" "$work/after-insert"
kills delete K.DAT "$work/before" "$work/after-delete"

# Cut only reads the data file; its copy K.fil is replaced whole or not at all, and the next
# Cut clears away the unfinished copies of killed ones.
cp "$work/before" "$dir/K.DAT"
kills cut K.fil "$work/cut-old" "$work/cut-new"
run cut
if compgen -G "$dir/.K.fil.kvnew-*" >/dev/null; then
    echo "FAIL: copies left by killed cuts are still there after the next cut" >&2
    failures=$((failures + 1))
fi

# The next opening clears away any copy a kill left behind.
cp "$work/before" "$dir/K.DAT"
printf 'choose K.DAT\nchoose LONG-80\nmenu Open\n' | "$kvscript" "$dir" - >/dev/null
if compgen -G "$dir/.K.DAT.kvnew-*" >/dev/null; then
    echo "FAIL: a copy left by a kill is still there after opening" >&2
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] || { echo "$failures checks failed" >&2; exit 1; }
echo "all kills left the old or the new content"
