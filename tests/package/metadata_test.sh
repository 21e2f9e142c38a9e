#!/usr/bin/env bash
# Validates the desktop entry, the AppStream metainfo and the MIME package as
# the package installs them, and checks they name each other consistently.
set -euo pipefail
package_dir=$1

for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream \
            update-mime-database:shared-mime-info; do
  command -v "${tool%%:*}" >/dev/null ||
    { echo "${tool%%:*} not found: install the Debian package ${tool#*:}"; exit 1; }
done
debs=("$package_dir"/qxprog_*.deb)
[ -f "${debs[0]}" ] || { echo "no package in $package_dir"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg-deb -x "${debs[0]}" "$root"
share=$root/usr/share
desktop=$share/applications/org.example.qxprog.desktop

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# desktop-file-validate prints hints and errors alike but fails only on errors.
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --explain "$share/metainfo/org.example.qxprog.metainfo.xml" ||
  fail "appstreamcli validate"

# The MIME package compiles, and *.qx maps to the type the desktop entry opens.
cp -r "$share/mime" "$scratch/mime"
if update-mime-database "$scratch/mime" >"$scratch/mime.log" 2>&1; then
  grep -qx 'application/x-qxprog-project:\*\.qx' "$scratch/mime/globs" ||
    fail "the MIME database does not map *.qx: $(cat "$scratch/mime/globs")"
else
  fail "update-mime-database: $(cat "$scratch/mime.log")"
fi
grep -qx 'MimeType=application/x-qxprog-project;' "$desktop" ||
  fail "the desktop entry does not open application/x-qxprog-project"
grep -qx 'Exec=qxprog %f' "$desktop" || fail "the desktop entry does not pass the file to qxprog"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] ||
  fail "the desktop entry's icon $icon is not in the package"

[ "$failures" = 0 ] || exit 1
echo "desktop entry, metainfo and MIME package are valid"
