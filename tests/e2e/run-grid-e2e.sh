#!/usr/bin/env bash
# The grid window "一覧" in a real X server, by real key presses: Ctrl+T opens it, Ctrl+F and
# typing filter the status table, F2 edits an HP cell and Enter commits it, Shift+Down chooses
# cells of one column and Alt+B opens the bulk edit, whose Enter applies it; Ctrl+W in the main
# window saves, and the files hold exactly those values. Screenshots are kept in the artifacts
# folder.
#
#   run-grid-e2e.sh <editor binary> <sample folder> <artifacts folder>
set -uo pipefail

editor="$(realpath "$1")"
sample="$(realpath "$2")"
artifacts="$3"
title="Tornak MonsterDatabase Editor II"

source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 50); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done
session="$work/runtime"
mkdir -m 700 "$session"
mkdir "$work/db"
cp "$sample"/*.txt "$work/db/"
(cd "$work/db" && XDG_RUNTIME_DIR="$session" XDG_STATE_HOME="$work/state" exec "$editor") &
pids+=($!)
wid="$(wait_for_window "$title")"
check "the main window appears" test -n "$wid"
sleep 1

keys() {  # keys <window> <key...>: presses the keys in that window
    xdotool windowactivate --sync "$1" 2>/dev/null
    shift
    xdotool key --clearmodifiers --delay 80 "$@"
    sleep 0.5
}
field() {  # field <file> <Name> <field number>: the field of the record with that key
    iconv -f CP932 -t UTF-8 "$work/db/$1" | awk -F, -v k="$2" -v f="$3" '$2 == k || $1 == k { print $f; exit }'
}

keys "$wid" ctrl+t
grid="$(wait_for_window "一覧")"
check "Ctrl+T opens 一覧" test -n "$grid"
sleep 1
import -window root "$artifacts/grid-opened.png"

# filter the status table to the TENGU monsters, then edit the HP of the first of them
keys "$grid" ctrl+f
xdotool type --delay 80 "tengu"
sleep 0.5
import -window root "$artifacts/grid-filtered.png"
# Tab to the scope, Tab to the cells; Home is the first scrolling column (the ID), two columns
# right of it the HP
keys "$grid" Tab Tab Home Right Right F2 ctrl+a
xdotool type --delay 80 "4242"
keys "$grid" Return
import -window root "$artifacts/grid-edited.png"

# the drop tab (Ctrl+Tab): Home is its first item column, one right of it the first rate; three
# cells down, then the bulk edit x2
keys "$grid" ctrl+Tab
keys "$grid" ctrl+f Tab Tab ctrl+Home Right shift+Down shift+Down alt+b
sleep 1
xdotool key --clearmodifiers --delay 80 alt+o Down Down alt+v
xdotool type --delay 80 "2"
sleep 0.5
import -window root "$artifacts/grid-bulk-preview.png"
xdotool key --clearmodifiers Return
sleep 0.5
import -window root "$artifacts/grid-bulk-applied.png"

keys "$wid" ctrl+w
sleep 1
check "the edited HP is saved" test "$(field mob_stat_db.txt TENGU 5)" = 4242
# the first three drop rates doubled (at most 10000), the fourth as it was
for record in 1 2 3 4; do
    old="$(sed -n "${record}p" "$sample/mob_drop_db.txt" | cut -d, -f3)"
    new="$(sed -n "${record}p" "$work/db/mob_drop_db.txt" | cut -d, -f3)"
    want=$((old * 2 > 10000 ? 10000 : old * 2))
    [[ $record -eq 4 ]] && want=$old
    check "drop record $record: rate $old became $want" test "$new" = "$want"
    # every other field as it was: the bulk edit reached that one column only
    check "drop record $record: its other fields unchanged" test \
        "$(sed -n "${record}p" "$sample/mob_drop_db.txt" | cut -d, -f1-2,4-)" = \
        "$(sed -n "${record}p" "$work/db/mob_drop_db.txt" | cut -d, -f1-2,4-)"
done
check "the drop file has as many lines as before" test \
    "$(wc -l <"$sample/mob_drop_db.txt")" = "$(wc -l <"$work/db/mob_drop_db.txt")"
echo "$passed passed, $failed failed"
test "$failed" -eq 0
