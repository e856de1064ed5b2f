#!/usr/bin/env bash
# Runs the built editor in a real X server and checks what the user is told, with real key
# presses: typing digits into the ID drop-down keeps the monster and its edits, choosing another
# monster over an HP not yet updated names the dropped edit on the status bar (which draws it),
# and F8 opens 未保存の変更 as a window of its own. Screenshots go to the artifacts folder.
#
#   run-e2e-feedback.sh <editor binary> <sample folder> <artifacts folder>
set -uo pipefail

editor="$(realpath "$1")"
sample="$(realpath "$2")"
artifacts="$3"
title="Tornak MonsterDatabase Editor II"

# the X server, $work, $pids, check, wait_for_window, exits_within
e2e_tools="xprop compare convert"
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

keys() {  # keys <key...>: pressed one after another, then a moment for the window
    xdotool key --clearmodifiers "$@"
    sleep 0.5
}

# The status bar as drawn: the bottom rows of the window's client area.
bar_shot() {  # bar_shot <file>
    import -window "$wid" "$work/window.png"
    convert "$work/window.png" -gravity south -crop 0x18+0+2 +repage "$1"
}

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 50); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done
session="$work/runtime"
mkdir -m 700 "$session"

mkdir "$work/db"
cp "$sample"/*.txt "$work/db/"
log="$work/status.log"
(cd "$work/db" && XDG_RUNTIME_DIR="$session" XDG_STATE_HOME="$work/state" \
    QT_LOGGING_RULES="mdb.status.info=true" exec "$editor" 2>"$log") &
editor_pid=$!
pids+=($editor_pid)
wid="$(wait_for_window "$title")"
check "the window appears" test -n "$wid"
[[ -z "$wid" ]] && { echo "e2e feedback: $passed passed, $((failed)) failed"; exit 1; }
xdotool windowactivate --sync "$wid" 2>/dev/null
sleep 0.5

# an HP typed, then digits typed into the ID drop-down: the monster stays, and the update
# writes the HP into the first monster's record
xdotool mousemove --window "$wid" 40 60 click 1  # the list's first monster
sleep 0.3
keys Tab Tab Tab Tab Tab  # ID, Name, 表示モンスター名, Mobレベル, ＨＰ
keys ctrl+a
xdotool type --delay 20 "4321"
keys shift+Tab shift+Tab shift+Tab shift+Tab  # back to the ID drop-down
xdotool type --delay 60 "1004"
sleep 0.5
import -window "$wid" "$artifacts/feedback-typed-into-id.png"
check "typing into the ID drop-down dropped no edit" bash -c "! grep -q 破棄 '$log'"
keys ctrl+s ctrl+w
check "the HP typed before the digits is updated into the first monster and saved" \
    env LC_ALL=C grep -aq "^1001,KAPPA,.*,4321," "$work/db/mob_stat_db.txt"
bar_shot "$work/bar-saved.png"

# an HP typed, then another monster clicked: the bar names the dropped edit, and draws it
keys Tab Tab Tab Tab  # Name, 表示モンスター名, Mobレベル, ＨＰ
keys ctrl+a
xdotool type --delay 20 "777"
sleep 0.3
import -window "$wid" "$artifacts/feedback-edit-marked.png"
xdotool mousemove --window "$wid" 40 100 click 1  # another monster further down the list
sleep 0.7
bar_shot "$work/bar-dropped.png"
import -window "$wid" "$artifacts/feedback-edit-dropped.png"
check "the status bar names the dropped HP" \
    grep -q "^mdb.status: 沼河童 (KAPPA) の更新していない編集を破棄しました: ＨＰ$" "$log"
differ="$(compare -metric AE "$work/bar-saved.png" "$work/bar-dropped.png" null: 2>&1)"
check "and the bar draws it where the saved message was ($differ pixels differ)" \
    test "${differ%% *}" -gt 50

# F8 opens the pending changes as a window of its own, which the form may cover
keys Tab Tab Tab Tab Tab
keys ctrl+a
xdotool type --delay 20 "555"
keys ctrl+s
keys F8
pending="$(wait_for_window "未保存の変更")"
check "F8 opens 未保存の変更" test -n "$pending"
if [[ -n "$pending" ]]; then
    import -window root "$artifacts/feedback-pending-window.png"
    check "it is no transient of the main window" \
        bash -c "xprop -id '$pending' WM_TRANSIENT_FOR | grep -q 'not found'"
    xdotool windowactivate --sync "$wid" 2>/dev/null
    sleep 0.5
    check "the main window comes above it when chosen" \
        test "$(xdotool getactivewindow 2>/dev/null)" = "$wid"
    import -window root "$artifacts/feedback-form-over-pending.png"
fi
keys ctrl+w  # saved: no question at the end
keys ctrl+q
check "the program ends with the pending window open" exits_within "$editor_pid" 5

echo "e2e feedback: $passed passed, $failed failed"
test "$failed" -eq 0
