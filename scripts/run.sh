#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-3-Clause
# Starts the program from the build's program folder. Without a display the
# headless calculator runs on a shipped molecule instead.
set -euo pipefail
cd "$(dirname "$0")/.."
prog=build/Orbix
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  if [ -x "$prog/Portico" ]; then exec "$prog/Portico"; fi
  if [ -x "$prog/Orbix" ]; then exec "$prog/Orbix"; fi
  echo "デスクトッププログラムはまだ組み込まれていません。計算エンジンを実行します。"
else
  echo "ディスプレイがないため、ヘッドレス計算機 orbix-calc をベンゼンで実行します。"
fi
exec "$prog/orbix-calc" "$prog/template/benzene.tpl"
