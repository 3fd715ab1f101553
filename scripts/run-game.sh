#!/usr/bin/env bash
# Builds everything (game, data tool, tests, benchmarks) and starts the game
# with its bundled content. Installs the Debian packages it misses first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ -x "$build/quorvanel" ]; then
  exec "$build/quorvanel" --app-dir "$build/content" "$@"
fi
exec "$build/tools/quorvanel-data" --help
