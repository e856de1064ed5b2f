#!/usr/bin/env bash
# Builds the Debian package with CPack, unpacks it into a scratch folder and checks that it
# holds the editor, the checker, the desktop entry and the icon, that it depends on the Qt
# runtime, and that the unpacked checker runs and accepts the sample database.
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
exit "$failed"
