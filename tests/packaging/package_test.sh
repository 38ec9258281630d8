#!/bin/sh
# Builds the Debian package from the build folder and checks it: control
# fields, file list, the programs run from the unpacked package, lintian,
# the AppStream metadata, the desktop entries and the molecule file type.
# Exits 77 (skipped) where dpkg-deb is missing.
# Usage: package_test.sh CPACK BUILD_DIR APPSTREAM_ID
set -eu
cpack=$1 build=$2 appstream_id=$3
if ! command -v dpkg-deb >/dev/null 2>&1; then
  echo "dpkg-deb is not installed: the package is not built"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null 2>&1 || fail "$1 is not installed (scripts/setup.sh installs it)"; }
for tool in lintian appstreamcli desktop-file-validate update-desktop-database update-mime-database \
  xdg-mime gio mimetype; do
  need "$tool"
done

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack -G DEB"; }
set -- "$scratch"/out/orbix_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "cpack made no single orbix_*.deb: $*"
deb=$1
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "orbix_1.0_$arch.deb" ] || fail "package file named $(basename "$deb")"

# Control fields.
dpkg-deb -I "$deb" >"$scratch/info" || fail "dpkg-deb -I"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = orbix ] || fail "Package: $(field Package)"
[ "$(field Version)" = 1.0 ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
depends=$(field Depends)
for dep in fonts-ipafont-gothic qt6-translations-l10n qt6-qpa-plugins libqt6widgets6 libqt6core6 libc6; do
  echo "$depends" | tr ',' '\n' | grep -q "^ *$dep\( \|$\)" || fail "Depends lacks $dep: $depends"
done

# File list.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | sort >"$scratch/files"
for f in /usr/bin/orbix /usr/bin/portico /usr/bin/orbix-calc \
  /usr/lib/orbix/Orbix /usr/lib/orbix/Portico /usr/lib/orbix/orbix-calc /usr/lib/orbix/libTessera.so \
  /usr/lib/orbix/data/atom.dat /usr/lib/orbix/template/benzene.tpl /usr/lib/orbix/Orbix.hlp \
  /usr/lib/orbix/readme.html /usr/lib/orbix/document1.rtf \
  /usr/share/applications/orbix.desktop /usr/share/applications/portico.desktop \
  /usr/share/mime/packages/orbix-molecule.xml "/usr/share/metainfo/$appstream_id.metainfo.xml" \
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
[ "$("$root/usr/bin/orbix-calc" --version)" = "orbix-calc 1.0" ] ||
  fail "orbix-calc --version printed: $("$root/usr/bin/orbix-calc" --version)"
zcat "$root/usr/share/man/man1/orbix-calc.1.gz" | grep -q '\\-\\-json' ||
  fail "the orbix-calc manual page does not describe --json"
grep -qx 'Exec=/usr/bin/orbix %f' "$root/usr/share/applications/orbix.desktop" ||
  fail "orbix.desktop does not start /usr/bin/orbix with the file: $(grep Exec "$root/usr/share/applications/orbix.desktop")"

# lintian: errors fail, the rest is listed.
lintian --tag-display-limit 0 --allow-root "$deb" >"$scratch/lintian" 2>&1 || true
cat "$scratch/lintian"
if grep -q '^E:' "$scratch/lintian"; then fail "lintian reports errors"; fi

# AppStream and the desktop entries.
appstreamcli validate --no-net "$root/usr/share/metainfo/$appstream_id.metainfo.xml" ||
  fail "appstreamcli validate"
for e in orbix portico; do
  report=$(desktop-file-validate "$root/usr/share/applications/$e.desktop" 2>&1) || true
  [ -z "$report" ] || fail "desktop-file-validate $e.desktop: $report"
done

# The file type, installed for one user: an Orbix file is one by its content,
# an MDL molfile with the same extension is not.
data=$scratch/data
mkdir -p "$data/mime/packages" "$scratch/files-to-type"
cp "$root/usr/share/mime/packages/orbix-molecule.xml" "$data/mime/packages/"
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
