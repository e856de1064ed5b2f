#!/usr/bin/env bash
# Runs the end-to-end test as an ordinary user on a machine whose font cache is stale, as on a
# fresh install: root refreshes the system's font cache and never meets what a user meets, so
# CI (which runs as root) runs it here as `nobody`, in a child that has given up root. A font
# the system's cache has never seen makes fontconfig write a cache of its own for the user;
# the test passes only when that lands outside the home folders it judges.
#
# The editor, the sample and the scripts are copied into a folder that `nobody` can read; the
# user's home is the one it has (`/nonexistent`), so that any write into it fails.
#
#   run-as-user.sh <editor binary> <sample folder> <artifacts folder>
set -euo pipefail

editor="$(realpath "$1")"
sample="$(realpath "$2")"
artifacts="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

copy="$(mktemp -d)"
trap 'rm -rf "$copy"' EXIT
chmod 755 "$copy"
mkdir "$copy/bin" "$copy/e2e" "$copy/sample" "$copy/fonts" "$copy/artifacts"
cp "$editor" "$copy/bin/"
cp "$here/harness.sh" "$here/run-e2e.sh" "$copy/e2e/"
cp "$sample"/*.txt "$copy/sample/"

font="$(fc-match -f '%{file}' 'IPAGothic')"
cp "$font" "$copy/fonts/"
cat >"$copy/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>$copy/fonts</dir>
</fontconfig>
EOF

as_user=()
home="$HOME"
if [[ "$(id -u)" -eq 0 ]]; then
    chown nobody "$copy/artifacts"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    home="$(getent passwd nobody | cut -d: -f6)"
    echo "as nobody, home $home"
fi

status=0
"${as_user[@]}" env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" TMPDIR=/tmp \
    FONTCONFIG_FILE="$copy/fonts.conf" \
    "$copy/e2e/run-e2e.sh" "$copy/bin/monster-db-editor" "$copy/sample" "$copy/artifacts" ||
    status=$?

mkdir -p "$artifacts/as-user"
cp -r "$copy/artifacts/." "$artifacts/as-user/" 2>/dev/null || true
exit "$status"
