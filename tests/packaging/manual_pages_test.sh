#!/bin/sh
# SPDX-License-Identifier: BSD-3-Clause
# The manual pages render on an 80-column terminal without a warning from
# man or groff, and orbix-calc's page describes every option of its --help
# and no other.
# Exits 77 (skipped) where man is missing.
# Usage: manual_pages_test.sh MAN_DIR ORBIX_CALC
set -eu
pages=$1 calc=$2
command -v man >/dev/null 2>&1 || { echo "man is not installed: skipped"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

for page in orbix portico orbix-calc; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$pages/$page.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
done

# Long options; --help-all is Qt's own.
listed=$(QT_QPA_PLATFORM=offscreen "$calc" --help | grep -o '^ *\(-[a-z], \)\?--[a-z-]*' |
  sed 's/.*--//' | grep -vx 'help-all' | sort -u)
described=$(grep -o '\\-\\-[a-z][a-z-]*' "$pages/orbix-calc.1" | sed 's/^\\-\\-//' | sort -u)
[ -n "$listed" ] || fail "orbix-calc --help lists no option"
[ "$listed" = "$described" ] ||
  fail "options of orbix-calc --help: $(echo $listed); of its manual page: $(echo $described)"
echo "manual pages checked"
