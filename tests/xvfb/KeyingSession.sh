#!/usr/bin/env bash
# A keying session driven only by real key events from outside the program, on an Xvfb
# server of its own: ORDERS.DAT is opened through the Open and format dialogs; three order
# lines are keyed (a memory key stored and recalled, the duplicate switch copying order
# number, date and customer and counting the line up, prices with a decimal point); one line
# is stepped back to and corrected; a forgotten line is inserted; the displaced line is
# verified, with one mismatch accepted; the file is saved and the program exits. The
# statistics window is open beside the entry screen all along. The data file must then hold
# exactly ORDERS.expected, the settings the stored memory key, ORDERS.kvstats the row of
# this opening and ORDERS.kvverify the row of the accepted mismatch.
# Usage: KeyingSession.sh <application directory of the build>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/XServer.sh"

main=
# Keys and text for the main window, which gets the focus back after every box.
keys() { xdotool windowfocus --sync "$main" key --delay 20 "$@"; }
text() { xdotool windowfocus --sync "$main" type --delay 20 "$1"; }
# A menu command by its mnemonics: the item's key goes to the menu once it has had time to
# open, and not into the record.
menu() { keys "alt+$1"; sleep 0.5; xdotool key "$2"; }
# Closes the box titled $1 with its default button.
close_box() { xdotool windowfocus --sync "$(wait_window "$1")" key Return; }

start_program
close_box "Tip of the Day"
main=$(wait_window "KORVALEN Data Entry and Verification - Orlenmark")

# File > Open: the file by name, then the format from the list (popup, first letter, Return).
menu f o
xdotool windowfocus --sync "$(wait_window '^Open$')" type --delay 20 ORDERS.DAT
xdotool key Return
xdotool windowfocus --sync "$(wait_window 'Format name from File.Fmt')" key alt+Down
sleep 0.5
xdotool key --delay 50 O Return
sleep 0.5
xdotool key Return
main=$(wait_window '^KORVALEN - .*ORDERS.DAT$')

# Tools > Statistics opens beside the entry screen; the keys below still go to the record.
menu t s
wait_window '^Statistics$' >/dev/null

# Line 1 of a new order, DUP off: the item is stored under F2 before leaving its field.
text 100415112826HALVERSN001WASHERS
keys alt+equal
close_box '^KORVALEN$'
keys F2 Return
text A1 && keys Return
text 500 && keys Return
text .12 && keys Return
text 60 && keys Return
# DUP on before the last field, so that the next line starts duplicated.
keys ctrl+d Return

# Line 2: order number, date and customer copied, LN counted up; the item recalled with F2.
keys F2
text A2 && keys Return
text 250 && keys Return
text 0.15 && keys Return
text 32.50 && keys Return

# Line 3.
text NUTS && keys Return
text A3 && keys Return
text 400 && keys Return
text .08 && keys Return
text 32 && keys Return

# Back to line 2: its quantity was 300, not 250. Down writes the correction.
keys Up Up Tab Tab Tab Tab Tab Tab
text 300 && keys Return Down

# A forgotten line goes in before line 3.
keys ctrl+n
close_box 'Confirm Record Insertion'
text 100415112826HALVERSN004LOCKNUTSA3 && keys Return
text 100 && keys Return
text .22 && keys Return
text 22 && keys Return

# The screen now shows line 3 again: verify it from a paper that says 450, not 400.
menu f v
text '100415112826HALVERSN003NUTS    00A3004'
text 5
close_box '^Verification$'
keys BackSpace
text 5
text '000000.08000032.00  '

keys ctrl+s ctrl+x
wait_exit

cmp "$work/app/ORDERS.DAT" "$here/ORDERS.expected" ||
    fail "ORDERS.DAT differs from ORDERS.expected: $(diff <(cat -A "$work/app/ORDERS.DAT") <(cat -A "$here/ORDERS.expected") | head -20)"
grep -qx 'F2=WASHERS' "$ini" || fail "memory key F2 was not stored: $(grep '^F' "$ini" | tr '\n' ' ')"
grep -qx 'F3=' "$ini" || fail "memory key F3 is not empty"

# One row for the opening that Exit closed: Entry and Verify keys, four records stored (three
# keyed, one inserted), one corrected, one verified, one mismatch, replaced after Backspace.
stats=$work/app/ORDERS.kvstats
[ -f "$stats" ] || fail "no ORDERS.kvstats was written"
[ "$(wc -l <"$stats")" -eq 2 ] || fail "ORDERS.kvstats holds $(wc -l <"$stats") lines, not a header and one row"
IFS=, read -r _ _ operator file format mode keys stored corrected verified mismatches replaced \
    refused _ <<<"$(sed -n 2p "$stats")"
[ "$operator,$format,$mode" = "$(id -un),ORDERS-60,Mixed" ] || fail "statistics row: $(sed -n 2p "$stats")"
[ "$file" = "$work/app/ORDERS.DAT" ] || fail "statistics row names $file"
[ "$stored,$corrected,$verified,$mismatches,$replaced,$refused" = "4,1,1,1,1,0" ] ||
    fail "statistics row counts: $(sed -n 2p "$stats")"
[ "$keys" -gt 200 ] || fail "statistics row counts only $keys keystrokes"
verify=$work/app/ORDERS.kvverify
[ -f "$verify" ] || fail "no ORDERS.kvverify was written"
[ "$(sed -n 2p "$verify" | cut -d, -f2-)" = "$(id -un),7,39,7,R,0,5,Backspace" ] ||
    fail "verification row: $(sed -n 2p "$verify")"
echo "keyed, corrected, inserted and verified: ORDERS.DAT, the memory keys and the logs are as expected"
