#!/bin/sh
# SPDX-License-Identifier: BSD-3-Clause
# The uninstall removes what the last install put where it put it: after a
# DESTDIR install it removes the staged files and leaves an installation under
# the real prefix alone; it removes the folders the install created once they
# are empty, and no other; with nothing left to remove it says so plainly and
# succeeds.
# Usage: uninstall_test.sh CMAKE BUILD_DIR SOURCE_DIR
set -eu
cmake=$1 build=$2 source=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
record=$build/install_record_Unspecified.txt
install() { "$cmake" --install "$build" --prefix "$1" --component Unspecified >/dev/null; }
uninstall() { "$cmake" -DRECORD="$record" -P "$source/packaging/uninstall.cmake" >"$scratch/out" 2>&1; }
listing() { (cd "$1" && find . -exec ls -ld --time-style=+%s {} + | awk '{print $1, $5, $6, $7}' | sort); }

real=$scratch/real
install "$real"
echo "a note of the school's" >"$real/lib/orbix/template/note.txt"
listing "$real" >"$scratch/real.before"

# A staged install into the same prefix, then the uninstall.
stage=$scratch/stage
DESTDIR=$stage install "$real"
[ -x "$stage$real/bin/orbix-calc" ] || fail "the staged install put nothing under $stage"
uninstall || { cat "$scratch/out"; fail "uninstall after a staged install"; }
listing "$real" >"$scratch/real.after"
diff "$scratch/real.before" "$scratch/real.after" >&2 ||
  fail "the uninstall of a staged install changed the installation under the real prefix"
left=$(find "$stage" -type f 2>/dev/null || true)
[ -z "$left" ] || fail "staged files left after the uninstall: $left"
[ ! -e "$stage" ] || fail "folders the staged install created are left: $(find "$stage" | head -5)"

# Nothing recorded any more, or nothing there to remove: the uninstall says
# so and succeeds.
plainly() {
  grep -q "$1" "$scratch/out" && ! grep -q "CMake Error" "$scratch/out" ||
    { cat "$scratch/out"; fail "$2: no plain message"; }
}
uninstall || { cat "$scratch/out"; fail "a second uninstall failed"; }
plainly "Nothing to uninstall" "second uninstall"

# The real installation again, then its prefix moved away: nothing to remove.
install "$real"
mv "$real" "$scratch/moved"
uninstall || { cat "$scratch/out"; fail "uninstall after the prefix was moved failed"; }
plainly "Nothing to uninstall: none of the" "moved prefix"
[ -x "$scratch/moved/bin/orbix-calc" ] || fail "the moved installation was touched"

# Moved back: the uninstall removes it, but not a file it did not install.
mv "$scratch/moved" "$real"
uninstall || { cat "$scratch/out"; fail "uninstall of the real installation"; }
[ ! -e "$real/bin/orbix-calc" ] || fail "bin/orbix-calc left after the uninstall"
[ ! -e "$real/share/applications/orbix.desktop" ] || fail "desktop entry left after the uninstall"
[ -f "$real/lib/orbix/template/note.txt" ] || fail "the uninstall removed a file it had not installed"
[ ! -e "$real/lib/orbix/data" ] || fail "empty data folder left in the program folder"

# A fresh prefix with an empty folder that was there before, installed twice
# (an update): the uninstall leaves that folder and nothing else.
fresh=$scratch/fresh
mkdir -p "$fresh/share/applications"
install "$fresh"
install "$fresh"
uninstall || { cat "$scratch/out"; fail "uninstall of the fresh prefix"; }
(cd "$fresh" && find . | sort | tr '\n' ' ') >"$scratch/left"
[ "$(cat "$scratch/left")" = ". ./share ./share/applications " ] ||
  fail "left in the fresh prefix after the uninstall: $(cat "$scratch/left")"
echo "uninstall checked"
