#!/usr/bin/env bash
# Runs the built editor in a real X server: the window appears with its title, F1 and F2 switch
# its size between the view modes (the full view ends on a 1280x800 screen), every menu
# shortcut typed with the focus in a text box, a drop-down and the list runs its entry, Ctrl+Z
# and Ctrl+Y undo and redo an update, a second start brings the first forward and ends quietly,
# and a missing database file ends the start with its warning box. Screenshots are kept in the
# artifacts folder.
#
#   run-e2e.sh <editor binary> <sample folder> <artifacts folder>
set -uo pipefail

editor="$(realpath "$1")"
sample="$(realpath "$2")"
artifacts="$3"
title="Tornak MonsterDatabase Editor II"

# the X server, $work, $pids, check, wait_for_window, exits_within
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 50); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done

# each run of the editor below gets the runtime folder of its own "user session"
session="$work/runtime"
mkdir -m 700 "$session"

start_on_copy() {  # start_on_copy <folder>: the editor on a new copy of the sample in $work/<folder>
    mkdir "$work/$1"
    cp "$sample"/*.txt "$work/$1/"
    (cd "$work/$1" && XDG_RUNTIME_DIR="$session" exec "$editor") &
    started=$!
    pids+=($started)
    wid="$(wait_for_window "$title")"
}

# --- a normal start
start_on_copy db
first=$started
check "the window appears with its title" test -n "$wid"
sleep 1
import -window root "$artifacts/started.png"
if [[ -n "$wid" ]]; then
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    # the status-only layout: at least the designed client area of 676 x 255 pixels, with the
    # menu bar above and the status bar below it
    status_width=$WIDTH status_height=$HEIGHT
    check "the window has the status-only size (${WIDTH}x${HEIGHT})" \
        test "$WIDTH" -ge 676 -a "$WIDTH" -le 900 -a "$HEIGHT" -ge 275 -a "$HEIGHT" -le 400
fi

# --- the view modes resize the real window: F2 full view, F1 back to status only, F1 standard
view_after() {  # view_after <key>: presses the key and reads the window's size and frame
    xdotool windowactivate --sync "$wid" 2>/dev/null
    xdotool key --clearmodifiers "$1"
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$wid")"
}
# the window's frame, title bar included, lies on the 1280x800 screen
on_screen() {
    local left top extents
    left="$(xwininfo -id "$wid" | awk '/Absolute upper-left X/ {print $NF}')"
    top="$(xwininfo -id "$wid" | awk '/Absolute upper-left Y/ {print $NF}')"
    # left, right, top, bottom of the window manager's frame around the client
    extents="$(xprop -id "$wid" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    read -r fl fr ft fb <<<"${extents:-0 0 0 0}"
    echo "   client at ${left},${top} ${WIDTH}x${HEIGHT}, frame ${fl} ${fr} ${ft} ${fb}"
    test $((left - fl)) -ge 0 -a $((top - ft)) -ge 0 \
        -a $((left + WIDTH + fr)) -le 1280 -a $((top + HEIGHT + fb)) -le 800
}
if [[ -n "$wid" ]]; then
    view_after F2
    full_width=$WIDTH full_height=$HEIGHT
    check "F2 gives the full view, wider and taller (${WIDTH}x${HEIGHT})" \
        test "$WIDTH" -gt "$status_width" -a "$HEIGHT" -gt "$status_height"
    # with its frame and title bar, and room for a desktop's panel of 32 pixels
    extents="$(xprop -id "$wid" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    read -r fl fr ft fb <<<"${extents:-0 0 0 0}"
    check "the full view fits a 1280x800 screen with room for a panel ($((HEIGHT + ft + fb)) high)" \
        test $((WIDTH + fl + fr)) -le 1280 -a $((HEIGHT + ft + fb)) -le $((800 - 32))
    check "the window grown by F2 ends on the screen" on_screen
    import -window root "$artifacts/full-view.png"
    view_after F1
    check "F1 from the full view gives the status-only size (${WIDTH}x${HEIGHT})" \
        test "$WIDTH" -eq "$status_width" -a "$HEIGHT" -eq "$status_height"
    view_after F1
    check "F1 again gives the standard view, between the two (${WIDTH}x${HEIGHT})" \
        test "$WIDTH" -eq "$full_width" -a "$HEIGHT" -gt "$status_height" \
        -a "$HEIGHT" -lt "$full_height"
    import -window root "$artifacts/standard-view.png"
    view_after F1
    check "and F1 once more the status-only size (${WIDTH}x${HEIGHT})" \
        test "$WIDTH" -eq "$status_width" -a "$HEIGHT" -eq "$status_height"
fi

# --- a second start while the first runs, the first one minimised
if [[ -n "$wid" ]]; then
    xdotool windowminimize --sync "$wid" 2>/dev/null || xdotool windowminimize "$wid"
    sleep 0.5
    check "the first window is minimised" \
        test -z "$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null)"
fi
(cd "$work/db" && XDG_RUNTIME_DIR="$session" exec "$editor") &
second=$!
check "a second start ends by itself" exits_within "$second" 10
wait "$second"
check "and ends with status 0" test "$?" -eq 0
check "the first editor still runs" kill -0 "$first"
sleep 0.5
count="$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | wc -l)"
check "exactly one editor window is shown, restored from minimised ($count)" test "$count" -eq 1
check "no second-start window is left" \
    test -z "$(xdotool search --onlyvisible --name "２重起動" 2>/dev/null)"
import -window root "$artifacts/after-second-start.png"

# --- a crashed run leaves its lock and socket behind: the next start still works
kill -9 "$first"
wait "$first" 2>/dev/null
(cd "$work/db" && XDG_RUNTIME_DIR="$session" exec "$editor") &
third=$!
pids+=($third)
wid="$(wait_for_window "$title")"
check "a start after a crashed run shows its window" test -n "$wid"

# --- the file menu's shortcuts, typed into the real window
inode() { stat -c %i "$work/db/mob_stat_db.txt"; }
before="$(inode)"
if [[ -n "$wid" ]]; then
    xdotool windowactivate --sync "$wid" 2>/dev/null
    xdotool key --clearmodifiers ctrl+w
    sleep 0.5
    check "Ctrl+W before any update writes nothing" test "$(inode)" = "$before"
    xdotool key --clearmodifiers ctrl+s
    sleep 0.3
    xdotool key --clearmodifiers ctrl+w
    sleep 0.5
    # the save replaces each file through a new one
    check "Ctrl+S then Ctrl+W saves the files" test "$(inode)" != "$before"
    check "and an unedited database is written back byte for byte" \
        cmp -s "$work/db/mob_stat_db.txt" "$sample/mob_stat_db.txt"
    xdotool key --clearmodifiers ctrl+q
    check "Ctrl+Q ends the program at once" exits_within "$third" 5
fi
kill "$third" 2>/dev/null
wait "$third" 2>/dev/null

# --- every menu shortcut, typed with the focus in the list, the ID drop-down and the HP box:
# the entry runs (its trace names it and the control that had the focus), and no text box
# takes the key as its own (on X11 Ctrl+U would empty the box, Ctrl+K cut its end)
mkdir "$work/keys"
cp "$sample"/*.txt "$work/keys/"
(cd "$work/keys" && XDG_RUNTIME_DIR="$session" QT_LOGGING_RULES="mdb.actions.debug=true" \
    exec "$editor" 2>"$work/actions.log") &
keyed=$!
pids+=($keyed)
wid="$(wait_for_window "$title")"
check "a start for the shortcuts shows the window" test -n "$wid"
# key, the entry it runs; F1 F1 F2 and Ctrl+P Ctrl+P come back to the full view in advanced mode
shortcuts=(ctrl+f:mnuNext ctrl+d:mnuBack ctrl+l:mnuIdbLoad F1:mnuStatMenu F1:mnuStatMenu
    F2:mnuMenu2 ctrl+p:mnuProf ctrl+p:mnuProf F12:mnuHelpAbout ctrl+i:mnuDdrIns
    ctrl+j:mnuMvpIns ctrl+n:mnuEmoIns ctrl+k:mnuMorpIns ctrl+u:mnuSlaveIns ctrl+o:mnuSumIns
    ctrl+s:mnuRenw ctrl+w:MunFileSave)
type_shortcuts() {  # type_shortcuts <control with the focus>
    local entry key name ran=0 expected=0 lines
    for entry in "${shortcuts[@]}"; do
        key="${entry%%:*}" name="${entry#*:}"
        lines="$(wc -l <"$work/actions.log")"
        xdotool key --clearmodifiers "$key"
        sleep 0.5
        # a message or the about box answers some entries: close it, back to the same control
        if [[ "$(xdotool getactivewindow 2>/dev/null)" != "$wid" ]]; then
            xdotool key Escape
            sleep 0.4
        fi
        expected=$((expected + 1))
        if tail -n +"$((lines + 1))" "$work/actions.log" | grep -qx "mdb.actions: $name $1"; then
            ran=$((ran + 1))
        else
            echo "   $key did not run $name with the focus in $1:"
            tail -n +"$((lines + 1))" "$work/actions.log" | sed 's/^/     /'
        fi
    done
    check "all $expected shortcuts run their entries with the focus in $1 ($ran)" \
        test "$ran" -eq "$expected"
}
if [[ -n "$wid" ]]; then
    xdotool windowactivate --sync "$wid" 2>/dev/null
    xdotool key --clearmodifiers F2 ctrl+p
    sleep 0.7
    xdotool key Escape  # the advanced mode's warning
    sleep 0.4
    # the list's second row, inside the status frame's top left
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    xdotool mousemove --window "$wid" 40 60 click 1
    sleep 0.3
    type_shortcuts List4
    xdotool key Tab
    type_shortcuts Combo5
    xdotool key Tab Tab Tab Tab  # Name, 表示モンスター名, Mobレベル, ＨＰ
    type_shortcuts "Text1(2)"
    check "no box lost its text to a key: the saved status table is as read" \
        cmp -s "$work/keys/mob_stat_db.txt" "$sample/mob_stat_db.txt"
    xdotool key --clearmodifiers ctrl+q
    check "Ctrl+Q with the focus in a text box ends the program" exits_within "$keyed" 5
fi
kill "$keyed" 2>/dev/null
wait "$keyed" 2>/dev/null

# --- undo and redo from the keyboard: an update of the HP box, Ctrl+Z and Ctrl+Y with the
# focus in the list, each followed by a save whose bytes show what the tables hold
start_on_copy undo
undoing=$started
check "a start for undo and redo shows the window" test -n "$wid"
stat_file="$work/undo/mob_stat_db.txt"
key_then_wait() {
    xdotool key --clearmodifiers "$@"
    sleep 0.5
}
if [[ -n "$wid" ]]; then
    xdotool windowactivate --sync "$wid" 2>/dev/null
    xdotool mousemove --window "$wid" 40 60 click 1
    sleep 0.3
    key_then_wait Tab Tab Tab Tab Tab  # ID, Name, 表示モンスター名, Mobレベル, ＨＰ
    key_then_wait ctrl+a
    xdotool type --delay 20 "424242"
    key_then_wait ctrl+s ctrl+w
    check "the update of the HP box is saved" grep -q ",424242," "$stat_file"
    # back in the list, on the row it shows: no other monster is chosen
    xdotool mousemove --window "$wid" 40 60 click 1
    sleep 0.3
    key_then_wait ctrl+z
    key_then_wait ctrl+w
    check "Ctrl+Z in the list undoes the update: the saved table is as read" \
        cmp -s "$stat_file" "$sample/mob_stat_db.txt"
    key_then_wait ctrl+y
    key_then_wait ctrl+w
    check "Ctrl+Y in the list does it again: the saved table has the new HP" \
        grep -q ",424242," "$stat_file"
    xdotool key --clearmodifiers ctrl+q
    sleep 0.5
    # the quit question, if any, is answered without saving
    [[ "$(xdotool getactivewindow 2>/dev/null)" != "$wid" ]] && xdotool key Escape
    exits_within "$undoing" 5 || kill "$undoing" 2>/dev/null
fi
kill "$undoing" 2>/dev/null
wait "$undoing" 2>/dev/null

# --- a folder named on the command line, as the desktop entry passes it; the current folder
# holds no database
(cd "$work" && XDG_RUNTIME_DIR="$session" exec "$editor" "$work/db") &
named=$!
pids+=($named)
wid="$(wait_for_window "$title")"
check "a start with a folder argument shows the window" test -n "$wid"
check "and runs" kill -0 "$named"
kill "$named" 2>/dev/null
wait "$named" 2>/dev/null

# --- started from the desktop menu: no folder named, in a home folder without a database; the
# settings go to a folder of this run, never the user's. The editor's own files (settings, state
# folder) go to their usual places in that home; caches of the libraries stay outside it.
mkdir "$work/home" "$work/config"
menu_start() {
    (cd "$work/home" && unset XDG_STATE_HOME XDG_DATA_HOME && HOME="$work/home" \
        XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$session" exec "$editor") &
}
dialog_title="データベースのフォルダを選択して下さい"
menu_start
asked=$!
pids+=($asked)
dialog="$(wait_for_window "$dialog_title")"
check "started without a database, the editor asks for the folder" test -n "$dialog"
sleep 0.5
import -window root "$artifacts/folder-dialog.png"
if [[ -n "$dialog" ]]; then
    xdotool windowactivate --sync "$dialog" 2>/dev/null
    xdotool key --clearmodifiers Escape
fi
check "cancelling the dialog ends the program" exits_within "$asked" 10
wait "$asked"
check "with status 0" test "$?" -eq 0
# Qt's file dialog keeps its own view settings (QtProject.conf), as in every Qt program
check "and writes nothing of its own" \
    test -z "$(ls -A "$work/home")" -a -z "$(ls -A "$work/config" | grep -vx QtProject.conf)"

menu_start
asked=$!
pids+=($asked)
dialog="$(wait_for_window "$dialog_title")"
if [[ -n "$dialog" ]]; then
    xdotool windowactivate --sync "$dialog" 2>/dev/null
    # the name box has the focus: a typed folder and Return choose it
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$work/db"
    sleep 0.5
    xdotool key --clearmodifiers Return
    # a first Return may only close the completion list of the name box
    sleep 1
    if [[ -n "$(xdotool search --onlyvisible --name "$dialog_title" 2>/dev/null)" ]]; then
        xdotool key --clearmodifiers Return
    fi
fi
wid="$(wait_for_window "$title")"
check "the folder chosen in the dialog starts the editor" test -n "$wid"
# a second start from the menu while it runs brings it forward, without asking
menu_start
again=$!
pids+=($again)
check "a second start from the menu ends by itself" exits_within "$again" 10
check "and never showed the folder dialog" \
    test -z "$(xdotool search --onlyvisible --name "$dialog_title" 2>/dev/null)"
kill "$again" 2>/dev/null
wait "$again"
check "with status 0" test "$?" -eq 0
if [[ -n "$wid" ]]; then
    xdotool windowactivate --sync "$wid" 2>/dev/null
    xdotool key --clearmodifiers ctrl+q
fi
check "which ends on Ctrl+Q" exits_within "$asked" 10
check "the chosen folder is remembered for the next start" \
    grep -qF "$work/db" "$work/config/monster-db-editor/monster-db-editor.conf"

# --- a missing database file
mkdir "$work/broken"
cp "$sample"/*.txt "$work/broken/"
rm "$work/broken/mob_mvp_db.txt"
(cd "$work/broken" && XDG_RUNTIME_DIR="$session" exec "$editor") &
broken=$!
pids+=($broken)
box="$(wait_for_window "ファイルオープンエラー")"
check "the warning box titled ファイルオープンエラー appears" test -n "$box"
sleep 0.5
import -window root "$artifacts/missing-file.png"
check "no editor window is shown beside it" \
    test -z "$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null)"
if [[ -n "$box" ]]; then
    xdotool windowactivate --sync "$box" 2>/dev/null
    xdotool key Return
fi
check "the program ends after OK" exits_within "$broken" 10
wait "$broken"
check "with a failure status" test "$?" -ne 0

echo "$passed passed, $failed failed"
[[ "$failed" -eq 0 ]]
