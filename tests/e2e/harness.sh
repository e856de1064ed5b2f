# The pieces the end-to-end scripts share, sourced with their arguments set: the X server, a
# scratch folder ($work, also the home and XDG folders of the run) removed at the end with every
# process listed in $pids, the tally of checks, and the waits for a window and for a process to
# end.
# shellcheck shell=bash

# The editor must meet the X server started below, whatever the calling shell exports: no
# other window system, display, scaling, style or locale of the desktop. Outside, the caller's
# script checks for its tools ($e2e_tools) and runs again inside a new 1280x800 X server.
for variable in $(compgen -e); do
    case "$variable" in QT_* | QML_* | WAYLAND_DISPLAY) unset "$variable" ;; esac
done
[[ "${MDB_E2E_STAGE:-}" != "inside" ]] && unset DISPLAY XAUTHORITY
export LC_ALL=C.UTF-8 LANG=C.UTF-8

if [[ "${MDB_E2E_STAGE:-}" != "inside" ]]; then
    for tool in xvfb-run xdotool import openbox ${e2e_tools:-}; do
        command -v "$tool" >/dev/null || { echo "e2e: $tool is missing"; exit 1; }
    done
    mkdir -p "$artifacts"
    export MDB_E2E_STAGE=inside
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work="$(mktemp -d)"
# Whatever the editor and the libraries it loads write goes into folders of this run, never the
# calling user's: settings, journals and recovery copies, and caches such as fontconfig's (it
# writes one into the home folder when the system's font cache is older than the fonts, as on a
# machine where fonts were just installed). A script that judges what the editor writes into a
# home folder of its own names that folder for that run alone.
export HOME="$work/user/home" XDG_CONFIG_HOME="$work/user/config" \
    XDG_CACHE_HOME="$work/user/cache" XDG_DATA_HOME="$work/user/data" \
    XDG_STATE_HOME="$work/user/state"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME"
passed=0
failed=0
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

check() {  # check <description> <command...>
    local what="$1"
    shift
    if "$@"; then
        echo "ok: $what"
        passed=$((passed + 1))
    else
        echo "FAILED: $what"
        failed=$((failed + 1))
    fi
}

wait_for_window() {  # wait_for_window <title> -> prints the window id
    local wid=""
    for _ in $(seq 1 100); do
        wid="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)"
        [[ -n "$wid" ]] && { echo "$wid"; return 0; }
        sleep 0.2
    done
    return 1
}

exits_within() {  # exits_within <pid> <seconds>
    for _ in $(seq 1 $(($2 * 5))); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.2
    done
    return 1
}

