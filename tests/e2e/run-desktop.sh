#!/usr/bin/env bash
# The editor as a desktop program, in a real X server with a window manager: the window shows
# its own icon; F10 opens the first menu with its first usable entry chosen, Alt highlights the
# menu bar, Alt+F opens the file menu; F3 and Ctrl+G put the focus in the name and the ID
# search boxes; a second start for another folder ends with a failure and the running editor
# says which folder it has open, while one for the same folder just brings it forward; a start
# that fails does not become the folder remembered for the next start.
#
#   run-desktop.sh <editor binary> <sample folder> <artifacts folder>
set -uo pipefail

editor="$(realpath "$1")"
sample="$(realpath "$2")"
artifacts="$3"
title="Tornak MonsterDatabase Editor II"

e2e_tools="compare xprop"
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
# grab <file> <x> <y> <w> <h>: a part of the editor's window as the screen shows it
grab() { import -window root -crop "$4x$5+$(($2 + wx))+$(($3 + wy))" +repage "$1"; }
differs() { [[ "$(compare -metric AE "$1" "$2" null: 2>&1)" != "0" ]]; }
keys() {
    xdotool windowactivate --sync "$wid" 2>/dev/null
    xdotool key --clearmodifiers "$@"
    sleep 0.6
}
logged() { grep -q -- "$1" "$work/trace.log"; }

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 50); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done
session="$work/runtime"
mkdir -m 700 "$session"
mkdir "$work/db" "$work/other" "$work/config"
cp "$sample"/*.txt "$work/db/"
cp "$sample"/*.txt "$work/other/"

(cd "$work/db" && XDG_RUNTIME_DIR="$session" XDG_CONFIG_HOME="$work/config" \
    QT_LOGGING_RULES="mdb.actions.debug=true;mdb.chains.debug=true" \
    exec "$editor" 2>"$work/trace.log") &
first=$!
pids+=($first)
wid="$(wait_for_window "$title")"
check "the window appears" test -n "$wid"
[[ -z "$wid" ]] && { echo "$passed passed, $failed failed"; exit 1; }
sleep 1
wx="$(xwininfo -id "$wid" | awk '/Absolute upper-left X/ {print $NF}')"
wy="$(xwininfo -id "$wid" | awk '/Absolute upper-left Y/ {print $NF}')"
check "the window carries an icon of its own" \
    test "$(xprop -id "$wid" _NET_WM_ICON | wc -c)" -gt 1000

# --- the menus from the keyboard; the menu bar is the window's top 20 pixels
grab "$work/bar-before.png" 0 0 400 20
grab "$work/below-before.png" 0 20 300 150
xdotool windowactivate --sync "$wid" 2>/dev/null
xdotool key alt
sleep 0.6
grab "$work/bar-alt.png" 0 0 400 20
check "Alt alone highlights the menu bar" differs "$work/bar-before.png" "$work/bar-alt.png"
cp "$work/bar-alt.png" "$artifacts/menu-bar-after-alt.png"
keys Escape
keys alt+f
grab "$work/below-alt-f.png" 0 20 300 150
check "Alt+F opens the file menu" differs "$work/below-before.png" "$work/below-alt-f.png"
keys Escape Escape
keys F10
grab "$work/below-f10.png" 0 20 300 150
cp "$work/below-f10.png" "$artifacts/menu-after-f10.png"
check "F10 opens the first menu" differs "$work/below-before.png" "$work/below-f10.png"
# Return runs the entry F10 chose: the file menu's first usable one (activating the window
# again would close the menu)
xdotool key Return
sleep 0.6
pending="$(xdotool search --onlyvisible --name "^未保存の変更" 2>/dev/null | head -n 1)"
check "and Return runs its first usable entry, which opens the pending changes" test -n "$pending"
[[ -n "$pending" ]] && xdotool windowclose "$pending" 2>/dev/null

# --- the search boxes from the keyboard: a key, a digit typed, and the box's Change runs
keys F3
xdotool type --delay 30 "9"
sleep 0.4
check "F3 puts the focus in the name search box" logged "Text10.Change"
keys ctrl+g
xdotool type --delay 30 "9"
sleep 0.4
check "Ctrl+G puts the focus in the ID search box" logged "Text9.Change"

# --- a second start for the same folder brings the editor forward and ends quietly
(cd "$work/db" && XDG_RUNTIME_DIR="$session" exec "$editor") &
same=$!
check "a second start for the same folder ends by itself" exits_within "$same" 10
wait "$same"
check "with status 0" test "$?" -eq 0
count="$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | wc -l)"
check "and no message appears ($count window)" test "$count" -eq 1

# --- a second start for another folder ends with a failure, and the editor says so
XDG_RUNTIME_DIR="$session" "$editor" "$work/other" 2>"$work/second.err" &
other=$!
check "a second start for another folder ends by itself" exits_within "$other" 10
wait "$other"
check "with a failure status" test "$?" -ne 0
check "telling on its error output which folder is open" grep -qF "$work/db" "$work/second.err"
sleep 1
# the editor's message box carries the application's title too
count="$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | wc -l)"
check "the running editor shows a message ($count windows with its title)" test "$count" -eq 2
import -window root "$artifacts/second-start-other-folder.png"
box=""
for candidate in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null); do
    [[ "$candidate" != "$wid" ]] && box="$candidate"
done
if [[ -n "$box" ]]; then
    # (what it says is checked by the window's own tests)
    xdotool windowactivate --sync "$box" 2>/dev/null
    xdotool key Return
    sleep 0.5
fi
check "the first editor still runs" kill -0 "$first"
xdotool windowactivate --sync "$wid" 2>/dev/null
xdotool key --clearmodifiers ctrl+q
exits_within "$first" 5 || kill "$first"

# --- a start that fails is not remembered: the last folder stays the last good one
conf="$work/config/monster-db-editor/monster-db-editor.conf"
check "the folder of the successful start is remembered" grep -qF "$work/db" "$conf"
mkdir "$work/broken"
cp "$sample"/*.txt "$work/broken/"
rm "$work/broken/mob_mvp_db.txt"
(cd "$work" && XDG_RUNTIME_DIR="$session" XDG_CONFIG_HOME="$work/config" \
    exec "$editor" "$work/broken") &
broken=$!
pids+=($broken)
box="$(wait_for_window "ファイルオープンエラー")"
check "a start on a broken folder shows its warning" test -n "$box"
if [[ -n "$box" ]]; then
    xdotool windowactivate --sync "$box" 2>/dev/null
    xdotool key Return
fi
exits_within "$broken" 10
check "the broken folder is not remembered" bash -c "! grep -qF '$work/broken' '$conf'"
check "the last good folder still is" grep -qF "$work/db" "$conf"

echo "$passed passed, $failed failed"
[[ "$failed" -eq 0 ]]
