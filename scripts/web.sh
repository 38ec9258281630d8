#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-3-Clause
# Builds the web edition into build-web/: the core for node (orbix-calc.mjs)
# and the site (build-web/site/). Extra arguments go to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler's optimiser runs on node and needs the system's acorn.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build build-web
