#!/usr/bin/env bash
# Builds the Debian package with CPack, unpacks it into a scratch folder and checks that it
# holds the editor, the checker, the desktop entry and the icon, the manual pages, the AppStream
# metadata, the copyright file and the changelog, that it depends on the Qt runtime, and that
# the unpacked checker runs and accepts the sample database. Then Debian's own tools judge it:
# lintian finds no error and every warning it gives is explained in the README,
# desktop-file-validate and appstreamcli validate accept the desktop entry and the metadata, and
# man renders both manual pages without a warning.
#
#   run-package-test.sh <build folder> <sample folder> <scratch folder>
set -uo pipefail

build="$(realpath "$1")"
sample="$(realpath "$2")"
scratch="$3"
rm -rf "$scratch"
mkdir -p "$scratch"
scratch="$(realpath "$scratch")"

failed=0
check() {  # check <description> <command...>
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi
}
quietly() { "$@" >/dev/null; }

if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "FAILED: cpack"
    exit 1
fi
deb="$(find "$scratch" -maxdepth 1 -name 'monster-db-editor_*.deb' | head -n 1)"
check "a .deb was written" test -n "$deb" || exit 1

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
check "the editor is installed" test -x "$root/usr/bin/monster-db-editor"
check "the checker is installed" test -x "$root/usr/bin/monster-db-check"
desktop="$root/usr/share/applications/monster-db-editor.desktop"
check "the desktop entry is installed" test -f "$desktop"
check "the desktop entry opens a folder" grep -qx 'Exec=monster-db-editor %f' "$desktop"
check "the scalable icon is installed" \
    test -s "$root/usr/share/icons/hicolor/scalable/apps/monster-db-editor.svg"
check "the 128 pixel icon is installed" \
    test -s "$root/usr/share/icons/hicolor/128x128/apps/monster-db-editor.png"

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 qt6-translations-l10n; do
    check "it depends on $lib" grep -q "\\b$lib\\b" <<<"$depends"
done

check "the unpacked checker accepts the sample database" \
    quietly "$root/usr/bin/monster-db-check" "$sample"
check "the unpacked editor prints its version without a display" \
    quietly env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/monster-db-editor" --version
# a wrong command line is told without a display: status 2 and a message, not Qt's abort
no_display_error() {  # no_display_error <argument>
    local message status
    message="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        "$root/usr/bin/monster-db-editor" "$1" 2>&1 >/dev/null)"
    status=$?
    echo "   $1: status $status, $message"
    test "$status" -eq 2 -a -n "$message" && ! grep -qi "display" <<<"$message"
}
check "the unpacked editor refuses --bogus without a display" no_display_error --bogus
check "the unpacked editor refuses a missing folder without a display" \
    no_display_error "$scratch/no/such/folder"
doc="$root/usr/share/doc/monster-db-editor"
check "the copyright file is installed" test -s "$doc/copyright"
# MIT is called Expat in Debian's machine-readable copyright format
check "the copyright file gives the MIT licence" grep -qx 'License: Expat' "$doc/copyright"
check "the changelog is installed, compressed" quietly gzip -t "$doc/changelog.Debian.gz"
check "the changelog's newest entry is the package's version" \
    test "$(zcat "$doc/changelog.Debian.gz" | head -n 1 | sed -E 's/^[^ ]+ \(([^)]+)\).*/\1/')" \
    = "$(dpkg-deb -f "$deb" Version)"

# --- Debian's own checks
readme="$(dirname "$sample")/README.md"
# exits non-zero on an error (and when it cannot run at all); warnings are looked at below
lintian --fail-on error --display-info "$deb" >"$scratch/lintian.log" 2>&1
lintian_status=$?
cat "$scratch/lintian.log"
check "lintian reports no error" test "$lintian_status" -eq 0
while read -r tag; do
    check "lintian's warning $tag is explained in the README" grep -q -- "$tag" "$readme"
done < <(sed -nE 's/^W: [^ ]+: ([^ ]+).*/\1/p' "$scratch/lintian.log" | sort -u)

check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$desktop"
metainfo="$(find "$root/usr/share/metainfo" -name '*.metainfo.xml' | head -n 1)"
check "the AppStream metadata is installed" test -n "$metainfo"
check "appstreamcli validate accepts the metadata" appstreamcli validate --no-net "$metainfo"
check "the metadata names the MIT licence" grep -q '<project_license>MIT</project_license>' "$metainfo"
check "the metadata launches the installed desktop entry" \
    grep -q '<launchable type="desktop-id">monster-db-editor.desktop</launchable>' "$metainfo"

man_page() {  # man_page <page.gz> <name> <headings...>: rendered as lintian does, then read
    local page="$1" name="$2"
    shift 2
    check "the manual page $name is installed" test -s "$page"
    # any message of groff at 80 columns is a fault to lintian
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" \
        >/dev/null 2>"$scratch/$name.man-warnings"
    cat "$scratch/$name.man-warnings"
    check "man -l renders $name without a warning" test ! -s "$scratch/$name.man-warnings"
    LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" >"$scratch/$name.txt" 2>/dev/null
    for heading in "$@" --help --version; do
        check "$name tells $heading" grep -q -- "$heading" "$scratch/$name.txt"
    done
}
# Japanese runs on without blanks: a source line break between two Japanese characters that
# shows as a blank is a stray one
no_stray_blank() {  # no_stray_blank <rendered page>
    local cjk='[\p{Han}\p{Hiragana}\p{Katakana}、。（）「」]'
    ! LC_ALL=C.UTF-8 grep -P "$cjk $cjk" "$1"
}
# every opening bracket closes with one of its own width
brackets_match() {  # brackets_match <rendered page>
    local pair
    for pair in '( )' '（ ）'; do
        test "$(LC_ALL=C.UTF-8 grep -o -- "${pair% *}" "$1" | wc -l)" \
            -eq "$(LC_ALL=C.UTF-8 grep -o -- "${pair#* }" "$1" | wc -l)" || return 1
    done
}
mkdir -p "$scratch/ja"
for program in monster-db-editor monster-db-check; do
    man_page "$root/usr/share/man/ja/man1/$program.1.gz" "ja/$program.1" 書式 オプション 終了ステータス ファイル
    check "ja/$program.1 has no stray blank between Japanese characters" \
        no_stray_blank "$scratch/ja/$program.1.txt"
    check "ja/$program.1 closes each bracket with one of its width" \
        brackets_match "$scratch/ja/$program.1.txt"
    man_page "$root/usr/share/man/man1/$program.1.gz" "$program.1" SYNOPSIS OPTIONS "EXIT STATUS" FILES
done
check "monster-db-check(1) tells --no-refs" grep -q -- '--no-refs' "$scratch/ja/monster-db-check.1.txt"
# the files the editor writes are all named, in both languages
for page in monster-db-editor.1 ja/monster-db-editor.1; do
    for file in monster-db-editor.conf state/monster-db-editor/journal/ recovery/ QtProject.conf; do
        check "$page names $file" grep -q -- "$file" "$scratch/$page.txt"
    done
done
exit "$failed"
