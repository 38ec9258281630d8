#!/bin/sh
# SPDX-License-Identifier: BSD-3-Clause
# A double-click as a user meets it: Orbix installed for one user, its file
# type and desktop entry registered as the README says, then, on an X server
# with a window manager but no desktop environment, xdg-open on a molecule
# file shows the design window titled with that file. An install whose path
# must be quoted in the entry starts the same way through GLib's launcher.
# Exits 77 (skipped) where Xvfb or one of the desktop tools is missing.
# Usage: open_with_test.sh CMAKE BUILD_DIR
set -eu
cmake=$1 build=$2
for tool in Xvfb openbox xdotool xdg-open xdg-mime mimetype update-mime-database \
  update-desktop-database gio; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done
scratch=$(mktemp -d)
pids=
trap 'for p in $pids; do kill "$p" 2>/dev/null || true; done; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkfifo "$scratch/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids="$!"
read -r number <"$scratch/display" || fail "Xvfb did not start"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID \
  MATE_DESKTOP_SESSION_ID QT_QPA_PLATFORM
export DISPLAY=":$number" XDG_RUNTIME_DIR="$scratch/runtime" XDG_DATA_DIRS=/usr/local/share:/usr/share
mkdir -m 700 "$XDG_RUNTIME_DIR"
openbox >/dev/null 2>&1 &
pids="$pids $!"

# Installs for a user whose home is $1, registers the file type and the entry.
install_for() {
  export HOME="$1" XDG_DATA_HOME="$1/.local/share" XDG_CONFIG_HOME="$1/.config"
  "$cmake" --install "$build" --prefix "$HOME/.local" --component Unspecified >/dev/null
  update-mime-database "$XDG_DATA_HOME/mime" >/dev/null 2>&1 || fail "update-mime-database"
  update-desktop-database "$XDG_DATA_HOME/applications" || fail "update-desktop-database"
  xdg-mime default orbix.desktop application/x-orbix-molecule
}
# Waits up to 30 s for the window titled $1 and prints its id.
window() {
  i=0
  while :; do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) || true
    [ -z "$id" ] || { echo "$id"; return 0; }
    i=$((i + 1)); [ $i -lt 300 ] || return 1
    sleep 0.1
  done
}
# The molecule file $1, opened by the command after it, shows its drawing.
opens() {
  file=$1
  shift
  cp "$build/Orbix/template/naphthalene.tpl" "$file"
  "$@" "$file" >"$scratch/open.log" 2>&1 &
  pids="$pids $!"
  id=$(window "^$(basename "$file")－Orbix分子軌道法\$") ||
    fail "$* opened no window for $file: $(cat "$scratch/open.log")"
  pids="$pids $(xdotool getwindowpid "$id")"
}

install_for "$scratch/home"
opens "$scratch/home/ナフタレン 1.mol" xdg-open

install_for "$scratch/home with space"
opens "$scratch/home with space/ナフタレン 2.mol" gio launch \
  "$XDG_DATA_HOME/applications/orbix.desktop"
echo "opened with the desktop's tools"
