#!/bin/sh
# SPDX-License-Identifier: BSD-3-Clause
# Orbix's command line, and the real programs on an X server of their own:
# `Orbix FILE` shows the file's drawing under its title, and the windows of
# Orbix, its message boxes and Portico carry the program's icon from the
# smallest size to 128 px (the largest the X11 platform passes on).
# Exits 77 (skipped) where Xvfb, xdotool or xprop is missing.
# Usage: identity_test.sh PROGRAM_DIR
set -eu
program=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

# The command line: --help and --version need no display; two files are a
# usage error.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program/Orbix" --version 2>/dev/null) ||
  fail "Orbix --version without a display: $out"
[ "$out" = "Orbix 1.0" ] || fail "Orbix --version printed: $out"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program/Orbix" --help 2>/dev/null) ||
  fail "Orbix --help without a display: $out"
echo "$out" | grep -q '\[FILE\]' || fail "Orbix --help printed: $out"
status=0
out=$(QT_QPA_PLATFORM=offscreen "$program/Orbix" one.mol two.mol 2>&1) || status=$?
[ $status -eq 2 ] && echo "$out" | grep -q '開けるファイルは１つだけです。' ||
  fail "Orbix with two files: status $status, printed: $out"

for tool in Xvfb xdotool xprop; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done
scratch=$(mktemp -d)
pids=
trap 'for p in $pids; do kill "$p" 2>/dev/null || true; done; rm -rf "$scratch"' EXIT

mkfifo "$scratch/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids="$!"
read -r number <"$scratch/display" || fail "Xvfb did not start"
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The window whose title matches the regular expression $1, waited for up to 30 s.
window() {
  i=0
  while :; do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) || true
    [ -z "$id" ] || { echo "$id"; return 0; }
    i=$((i + 1)); [ $i -lt 300 ] || return 1
    sleep 0.1
  done
}
has_icon() {
  xprop -id "$1" _NET_WM_ICON >"$scratch/icon" 2>&1 || fail "$2: xprop"
  for size in "16 x 16" "128 x 128"; do
    grep -q "Icon ($size)" "$scratch/icon" || fail "$2 has no $size icon: $(head -c 200 "$scratch/icon")"
  done
}

cp "$program/template/benzene.tpl" "$scratch/benzene.tpl"
"$program/Orbix" "$scratch/benzene.tpl" >"$scratch/orbix.log" 2>&1 &
pids="$pids $!"
id=$(window "^benzene.tpl－Orbix分子軌道法$") ||
  fail "no window titled benzene.tpl－Orbix分子軌道法; Orbix wrote: $(cat "$scratch/orbix.log")"
has_icon "$id" "the design window"
xprop -id "$id" WM_CLASS | grep -q '"Orbix", "Orbix"' || fail "WM_CLASS: $(xprop -id "$id" WM_CLASS)"

# A file that cannot be opened: the Open command's message box, with the icon.
"$program/Orbix" "$scratch/missing.mol" >>"$scratch/orbix.log" 2>&1 &
pids="$pids $!"
id=$(window "^ファイルを開く") || fail "no message box for a missing file"
has_icon "$id" "the message box"

"$program/Portico" >"$scratch/portico.log" 2>&1 &
pids="$pids $!"
id=$(window "^Orbix分子軌道法－メニュー$") ||
  fail "no Portico window; Portico wrote: $(cat "$scratch/portico.log")"
has_icon "$id" "Portico's menu"
echo "identity checked"
