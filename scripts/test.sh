#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-3-Clause
# Runs every test of the build tree. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 "$@"
# The web edition's (scripts/web.sh builds it).
if [ -d build-web ]; then
  ctest --test-dir build-web --output-on-failure "$@"
fi
