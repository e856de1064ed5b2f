#!/usr/bin/env bash
# The restore question by real key presses in a real X server. An HP edited in 一覧 and left
# unsaved by a killed editor is offered at the next start; Escape puts the question off, and so
# does the window's close button (Alt+F4 through the window manager): nothing is applied,
# nothing deleted. The start after that asks again; Enter restores and Ctrl+W saves it.
#
#   run-restore-e2e.sh <editor binary> <sample folder> <artifacts folder>
set -uo pipefail

editor="$(realpath "$1")"
sample="$(realpath "$2")"
artifacts="$3"
title="Tornak MonsterDatabase Editor II"
offer="前回保存されなかった更新"

source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 50); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done
session="$work/runtime"
mkdir -m 700 "$session"
mkdir "$work/db"
cp "$sample"/*.txt "$work/db/"

editor_pid=""
run_editor() {
    (cd "$work/db" && XDG_RUNTIME_DIR="$session" XDG_STATE_HOME="$work/state" exec "$editor") &
    editor_pid=$!
    pids+=("$editor_pid")
}
keys() {  # keys <window> <key...>: presses the keys in that window
    xdotool windowactivate --sync "$1" 2>/dev/null
    shift
    xdotool key --clearmodifiers --delay 80 "$@"
    sleep 0.5
}
field() {  # field <file> <Name> <field number>
    iconv -f CP932 -t UTF-8 "$work/db/$1" | awk -F, -v k="$2" -v f="$3" '$2 == k { print $f; exit }'
}
journal() {  # the bytes of the journal, or nothing
    cat "$work/state/monster-db-editor/journal/"*.journal 2>/dev/null | md5sum
}
# The box the start shows before the main window: it has the application's title too, and
# no main window is up yet.
asked_and_answered() {  # asked_and_answered <key...>
    local box
    box="$(wait_for_window "$title")"
    [[ -n "$box" ]] || return 1
    sleep 1
    import -window root "$artifacts/restore-question-${1//+/-}.png"
    keys "$box" "$@"
}

run_editor
wid="$(wait_for_window "$title")"
check "the main window appears" test -n "$wid"
sleep 1
keys "$wid" ctrl+t
grid="$(wait_for_window "一覧")"
check "Ctrl+T opens 一覧" test -n "$grid"
sleep 1
keys "$grid" ctrl+f
xdotool type --delay 80 "tengu"
sleep 0.5
keys "$grid" Tab Tab Home Right Right F2 ctrl+a
xdotool type --delay 80 "4242"
keys "$grid" Return
sleep 1
kill -KILL "$editor_pid"
exits_within "$editor_pid" 10
old_hp="$(field mob_stat_db.txt TENGU 5)"
check "the edit is in the journal, not in the file" test "$old_hp" != 4242
kept="$(journal)"
check "a journal is left" test "$kept" != "$(true | md5sum)"

for answer in Escape alt+F4; do
    run_editor
    check "asked at the start, answered with $answer" asked_and_answered "$answer"
    wid="$(wait_for_window "$title")"
    check "the editor goes on after $answer" test -n "$wid"
    check "$answer keeps the journal as it was" test "$(journal)" = "$kept"
    # nothing restored: a save writes the HP as the file holds it
    keys "$wid" ctrl+w
    sleep 1
    check "$answer applies nothing" test "$(field mob_stat_db.txt TENGU 5)" = "$old_hp"
    kill -KILL "$editor_pid"
    exits_within "$editor_pid" 10
done

run_editor
check "asked again, restored with Enter" asked_and_answered Return
wid="$(wait_for_window "$title")"
keys "$wid" ctrl+w
sleep 1
check "the restored HP is saved" test "$(field mob_stat_db.txt TENGU 5)" = 4242
check "the journal went with the save" test "$(journal)" = "$(true | md5sum)"
echo "$passed passed, $failed failed"
test "$failed" -eq 0
