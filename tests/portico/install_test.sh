#!/bin/sh
# SPDX-License-Identifier: BSD-3-Clause
# Installs the build into a scratch prefix and checks the installation: the
# whole program folder, the launch scripts (also after the prefix is moved),
# the desktop entries and the icon; then uninstalls it again.
# Usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR
set -eu
cmake=$1 build=$2 source=$3
scratch=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
pid=
prefix=$scratch/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

# A component install keeps its manifest apart from that of a real install.
"$cmake" --install "$build" --prefix "$prefix" --component Unspecified >/dev/null

for f in bin/orbix bin/portico bin/orbix-calc lib/orbix/Portico lib/orbix/orbix-calc; do
  [ -x "$prefix/$f" ] || fail "$f is not an installed program"
done
(cd "$build/Orbix" && find . -type f) | while read -r f; do
  [ -f "$prefix/lib/orbix/$f" ] || fail "program folder file $f not installed"
done
for n in 1 2 3; do [ -f "$prefix/lib/orbix/document$n.rtf" ] || fail "document$n.rtf missing"; done
for e in orbix portico; do
  d=$prefix/share/applications/$e.desktop
  grep -q "^Exec=$prefix/bin/$e\( \|$\)" "$d" || fail "$e.desktop does not start $prefix/bin/$e"
  grep -qx 'Icon=orbix' "$d" || fail "$e.desktop has no icon"
  grep -qx 'Type=Application' "$d" || fail "$e.desktop is no application entry"
done
for f in 16x16/apps/orbix.png 48x48/apps/orbix.png 256x256/apps/orbix.png scalable/apps/orbix.svg \
  48x48/mimetypes/application-x-orbix-molecule.png scalable/mimetypes/application-x-orbix-molecule.svg; do
  [ -f "$prefix/share/icons/hicolor/$f" ] || fail "icon $f missing"
done

"$prefix/bin/orbix-calc" "$prefix/lib/orbix/template/benzene.tpl" | grep -q '全エネルギー = 08.0000' ||
  fail "orbix-calc through its script"

# The scripts find the program folder relative to themselves.
mv "$prefix" "$scratch/moved"
"$scratch/moved/bin/orbix-calc" "$scratch/moved/lib/orbix/template/ethylene.tpl" >/dev/null ||
  fail "script after moving the prefix"
mv "$scratch/moved" "$prefix"

# The launcher runs from the installed program folder.
mkdir -m 700 "$scratch/runtime"
XDG_RUNTIME_DIR=$scratch/runtime QT_QPA_PLATFORM=offscreen "$prefix/bin/portico" &
pid=$!
i=0
while ! ls "$scratch/runtime"/portico*.lock >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -lt 100 ] || fail "the installed launcher did not start"
  sleep 0.1
done
[ "$(readlink -f /proc/$pid/exe)" = "$(readlink -f "$prefix/lib/orbix/Portico")" ] ||
  fail "the launcher did not run from the program folder"
kill "$pid"; wait "$pid" 2>/dev/null || true; pid=

"$cmake" -DRECORD="$build/install_record_Unspecified.txt" \
  -P "$source/packaging/uninstall.cmake" >/dev/null
[ ! -e "$prefix/lib/orbix" ] || fail "program folder left after uninstall"
[ ! -e "$prefix/bin/portico" ] || fail "bin/portico left after uninstall"
[ ! -e "$prefix/share/applications/portico.desktop" ] || fail "desktop entry left after uninstall"
echo "installation checked"
