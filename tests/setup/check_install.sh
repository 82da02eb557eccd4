#!/bin/bash
# Installs the build into a fresh prefix and checks that every file lands in
# its standard place: the three programs, the shipped databases where the
# programs look for them, the desktop entry (valid, when the validator is
# there), the icon and the file type of schematics.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -u
build=$1
source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail=0
problem() { echo "FAIL: $*"; fail=1; }

cmake --install "$build" --prefix "$prefix" > "$prefix.log" 2>&1 || { cat "$prefix.log"; rm -f "$prefix.log"; echo "FAIL: cmake --install"; exit 1; }
rm -f "$prefix.log"

for program in quentor quentor-sim vielo; do
    [ -x "$prefix/bin/$program" ] || problem "bin/$program is not installed"
done
for db in "$source"/data/*.edb; do
    name=$(basename "$db")
    cmp -s "$db" "$prefix/share/quentor/$name" || problem "share/quentor/$name differs or is missing"
done
desktop=$prefix/share/applications/quentor.desktop
[ -f "$desktop" ] || problem "share/applications/quentor.desktop is not installed"
[ -f "$prefix/share/icons/hicolor/scalable/apps/quentor.svg" ] || problem "the icon is not installed"
mime=$prefix/share/mime/packages/quentor.xml
[ -f "$mime" ] || problem "share/mime/packages/quentor.xml is not installed"
grep -q 'pattern="\*\.dvn"' "$mime" 2>/dev/null || problem "the file type does not name *.dvn"
grep -q '^Icon=quentor$' "$desktop" 2>/dev/null || problem "the desktop entry names another icon"
grep -q '^MimeType=application/x-quentor-schematic;$' "$desktop" 2>/dev/null ||
    problem "the desktop entry does not open schematics"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$desktop" || problem "desktop-file-validate refuses the desktop entry"
else
    echo "desktop-file-validate not found: the entry is not validated"
fi
if command -v update-mime-database > /dev/null; then
    update-mime-database "$prefix/share/mime" || problem "update-mime-database refuses the file type"
fi
# The installed runner works from its own place.
out=$(mktemp -d)
"$prefix/bin/quentor-sim" -q -o "$out" "$source/examples/rc.dvn" || problem "the installed quentor-sim fails"
[ -f "$out/graf.grp" ] || problem "the installed quentor-sim wrote no results"
rm -rf "$out"
exit $fail
