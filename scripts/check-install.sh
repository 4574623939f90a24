#!/usr/bin/env bash
# Checks an installed tree (a DESTDIR with prefix /usr): the files are where
# a desktop expects them, the validators find no error, the installed
# quillet-compose composes the worked example and runs in installed mode
# (lists in the author's data folder, nothing written beside the program),
# and a "portable" marker beside it switches to portable mode.
set -euo pipefail
root=$1
id=org.quillet.Quillet
for f in bin/quillet bin/quillet-compose share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/scalable/apps/$id.svg \
    share/man/man1/quillet-compose.1.gz share/doc/quillet/copyright \
    share/quillet/profiles/standard.json share/quillet/templates/ゲーム.pwk; do
    [ -e "$root/usr/$f" ] || { echo "missing from the installation: /usr/$f" >&2; exit 1; }
done
desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --explain "$root/usr/share/metainfo/$id.metainfo.xml"
xmllint --noout "$root/usr/share/mime/packages/$id.xml"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
before=$(ls -A "$root/usr/bin")
out=$(HOME=$home XDG_DATA_HOME=$home/data "$root/usr/bin/quillet-compose" --version)
echo "$out" | grep -q "インストールモード" || { echo "not in installed mode: $out" >&2; exit 1; }
echo "$out" | grep -q "$home/data/Quillet/Quillet" || { echo "lists not in the data folder: $out" >&2; exit 1; }
HOME=$home XDG_DATA_HOME=$home/data "$root/usr/bin/quillet-compose" tests/data/sample.pwk "$home/R.TXT"
cmp "$home/R.TXT" tests/data/sample_README.TXT
# The check before release finds the site profiles the installation ships.
HOME=$home XDG_DATA_HOME=$home/data "$root/usr/bin/quillet-compose" --check-readme --profile vector \
    tests/data/sample.pwk >/dev/null || { echo "the installed check has no Vector profile" >&2; exit 1; }
# ... and the templates it ships.
HOME=$home XDG_DATA_HOME=$home/data "$root/usr/bin/quillet-compose" --list-templates | grep -q "^ゲーム" ||
    { echo "the installed program lists no shipped templates" >&2; exit 1; }
[ "$(ls -A "$root/usr/bin")" = "$before" ] || { echo "something was written beside the program" >&2; exit 1; }
touch "$root/usr/bin/portable"
HOME=$home "$root/usr/bin/quillet-compose" --version | grep -q "ポータブルモード" ||
    { echo "the portable marker was not honoured" >&2; exit 1; }
rm "$root/usr/bin/portable"
echo "installation checked"
