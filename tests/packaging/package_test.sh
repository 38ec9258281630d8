#!/bin/sh
# SPDX-License-Identifier: BSD-3-Clause
# Builds the Debian package from a clean copy of the source tree, as a
# distribution would (dpkg-buildpackage, without running the tests again),
# and checks it: control fields, file list, the programs run from the
# unpacked package, lintian, the AppStream metadata, the desktop entries and
# the molecule file type.
# Exits 77 (skipped) where the source is not a git checkout or
# dpkg-buildpackage is missing.
# Usage: package_test.sh SOURCE_DIR
set -eu
source=$1
for tool in git dpkg-buildpackage; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done
git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1 ||
  { echo "$source is not a git checkout: skipped"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null 2>&1 || fail "$1 is not installed (scripts/setup.sh installs it)"; }
for tool in dh lintian appstreamcli desktop-file-validate update-desktop-database update-mime-database \
  xdg-mime mimetype; do
  need "$tool"
done

# The files of the checkout as they are now, without build folders or other
# untracked files that git ignores.
copy=$scratch/orbix
mkdir "$copy"
(cd "$source" && git ls-files -z -co --exclude-standard |
  tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$copy"
started=$(date +%s)
(cd "$copy" && DEB_BUILD_OPTIONS="nocheck parallel=2" dpkg-buildpackage -us -uc -b) \
  >"$scratch/build.log" 2>&1 || { tail -n 40 "$scratch/build.log"; fail "dpkg-buildpackage"; }
echo "dpkg-buildpackage took $(($(date +%s) - started)) s"
arch=$(dpkg --print-architecture)
version=$(cd "$copy" && dpkg-parsechangelog -S Version)
deb=$scratch/orbix_${version}_$arch.deb
[ -f "$deb" ] || fail "no orbix_${version}_$arch.deb: $(ls "$scratch")"

# Control fields; the home page and the maintainer are those of debian/control.
control() { sed -n "s/^$1: *//p" "$copy/debian/control" | head -n 1; }
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = orbix ] || fail "Package: $(field Package)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
for f in Homepage Maintainer; do
  [ "$(field $f)" = "$(control $f)" ] || fail "$f: $(field $f), debian/control: $(control $f)"
done
depends=$(field Depends)
for dep in fonts-ipafont-gothic qt6-translations-l10n qt6-qpa-plugins libqt6widgets6 libqt6svg6 libc6; do
  echo "$depends" | tr ',' '\n' | grep -q "^ *$dep\( \|$\)" || fail "Depends lacks $dep: $depends"
done
dpkg-deb -e "$deb" "$scratch/control"
! grep -rq ldconfig "$scratch/control" || fail "ldconfig in the package's control files"

# File list.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | sort >"$scratch/files"
for f in /usr/bin/orbix /usr/bin/portico /usr/bin/orbix-calc \
  /usr/lib/orbix/Orbix /usr/lib/orbix/Portico /usr/lib/orbix/orbix-calc /usr/lib/orbix/libTessera.so \
  /usr/lib/orbix/data/atom.dat /usr/lib/orbix/template/benzene.tpl /usr/lib/orbix/Orbix.hlp \
  /usr/lib/orbix/readme.html /usr/lib/orbix/document1.rtf \
  /usr/share/applications/orbix.desktop /usr/share/applications/portico.desktop \
  /usr/share/mime/packages/orbix-molecule.xml \
  /usr/share/icons/hicolor/scalable/apps/orbix.svg /usr/share/icons/hicolor/16x16/apps/orbix.png \
  /usr/share/icons/hicolor/48x48/apps/orbix.png /usr/share/icons/hicolor/256x256/apps/orbix.png \
  /usr/share/icons/hicolor/scalable/mimetypes/application-x-orbix-molecule.svg \
  /usr/share/icons/hicolor/48x48/mimetypes/application-x-orbix-molecule.png \
  /usr/share/man/man1/orbix.1.gz /usr/share/man/man1/portico.1.gz /usr/share/man/man1/orbix-calc.1.gz \
  /usr/share/doc/orbix/copyright /usr/share/doc/orbix/changelog.gz; do
  grep -qx "$f" "$scratch/files" || fail "$f is not in the package"
done
outside=$(grep -v '^/usr\(/\|$\)' "$scratch/files" | grep -v '^/$' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

# The unpacked package runs.
root=$scratch/root
dpkg-deb -x "$deb" "$root"
out=$("$root/usr/bin/orbix-calc" "$root/usr/lib/orbix/template/benzene.tpl") ||
  fail "orbix-calc of the package on benzene.tpl"
echo "$out" | grep -q '全エネルギー = 08.0000' || fail "orbix-calc on benzene.tpl printed: $out"
[ "$("$root/usr/bin/orbix-calc" --version)" = "orbix-calc $version" ] ||
  fail "orbix-calc --version printed: $("$root/usr/bin/orbix-calc" --version)"
grep -qx 'Exec=/usr/bin/orbix %f' "$root/usr/share/applications/orbix.desktop" ||
  fail "orbix.desktop does not start /usr/bin/orbix with the file: $(grep Exec "$root/usr/share/applications/orbix.desktop")"

# lintian: no error and no warning; the rest is listed.
lintian --fail-on warning --display-info --tag-display-limit 0 "$scratch/orbix_${version}_$arch.changes" \
  >"$scratch/lintian" 2>&1 || { cat "$scratch/lintian"; fail "lintian reports errors or warnings"; }
cat "$scratch/lintian"

# AppStream: valid, with the home page and the contact of debian/control.
set -- "$root"/usr/share/metainfo/*.metainfo.xml
[ $# -eq 1 ] && [ -f "$1" ] || fail "not one AppStream file: $*"
metainfo=$1
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<url type=\"homepage\">$(control Homepage)</url>" "$metainfo" ||
  fail "the AppStream home page is not $(control Homepage)"
address=$(control Maintainer | sed 's/.*<\(.*\)>.*/\1/')
grep -q "<update_contact>$address</update_contact>" "$metainfo" ||
  fail "the AppStream update contact is not $address"
for e in orbix portico; do
  report=$(desktop-file-validate "$root/usr/share/applications/$e.desktop" 2>&1) || true
  [ -z "$report" ] || fail "desktop-file-validate $e.desktop: $report"
done

# The file type, installed for one user: the package defines that type alone.
# An Orbix file is one by its content; where another package gives MDL
# molfiles the same extension, a molfile is not an Orbix file.
mime=$root/usr/share/mime/packages/orbix-molecule.xml
[ "$(grep -o '<mime-type type="[^"]*"' "$mime")" = '<mime-type type="application/x-orbix-molecule"' ] ||
  fail "orbix-molecule.xml defines other types: $(grep -o '<mime-type type="[^"]*"' "$mime")"
data=$scratch/data
mkdir -p "$data/mime/packages" "$scratch/files-to-type"
cp "$mime" "$data/mime/packages/"
cat >"$data/mime/packages/molfile.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="chemical/x-mdl-molfile">
    <comment>MDL Molfile</comment>
    <sub-class-of type="text/plain"/>
    <glob pattern="*.mol"/>
  </mime-type>
</mime-info>
EOF
update-mime-database "$data/mime" >"$scratch/mime.log" 2>&1 ||
  { cat "$scratch/mime.log"; fail "update-mime-database"; }
t=$scratch/files-to-type
cp "$root/usr/lib/orbix/template/benzene.tpl" "$t/benzene.tpl"
cp "$root/usr/lib/orbix/template/benzene.tpl" "$t/benzene.mol"
printf 'benzene\r\n  made by hand\r\n\r\n  6  6  0  0  0  0  0  0  0  0999 V2000\r\n' >"$t/mdl.mol"
printf '    1.3940    0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\r\nM  END\r\n' >>"$t/mdl.mol"
for desktop in GNOME X-Generic; do
  query() { XDG_DATA_HOME=$data XDG_CURRENT_DESKTOP=$desktop xdg-mime query filetype "$1"; }
  for f in benzene.tpl benzene.mol; do
    got=$(query "$t/$f")
    [ "$got" = application/x-orbix-molecule ] || fail "$desktop: $f is $got"
  done
  got=$(query "$t/mdl.mol")
  [ "$got" != application/x-orbix-molecule ] || fail "$desktop: an MDL molfile is $got"
done

# A double-click in a file manager: Orbix is the application for the type.
mkdir -p "$data/applications"
cp "$root/usr/share/applications/orbix.desktop" "$root/usr/share/applications/portico.desktop" \
  "$data/applications/"
update-desktop-database "$data/applications" || fail "update-desktop-database"
for desktop in GNOME X-Generic; do
  got=$(XDG_DATA_HOME=$data XDG_DATA_DIRS=$data XDG_CURRENT_DESKTOP=$desktop \
    xdg-mime query default application/x-orbix-molecule)
  [ "$got" = orbix.desktop ] || fail "$desktop: the application for Orbix files is '$got'"
done
echo "package checked"
