#!/usr/bin/env bash
# Plays the game unattended for MINUTES (default 60) and fails when its
# memory keeps growing or it stops advancing: tests/app/soak_game.py (its
# --help says what is played and checked) on a Release build in build/
# (no sanitizer, so the resident memory is the game's own), one sample a
# minute. Set QV_BUILD to use another build folder (build-asan: leaks are
# checked at the end as well). Extra arguments go to soak_game.py
# (--keep DIR keeps the traces).
# Usage: scripts/soak.sh [MINUTES] [ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-60}
shift || true

build=${QV_BUILD:-build}
if [ -z "${QV_BUILD:-}" ]; then
  scripts/install-deps.sh
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target quorvanel content

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
exec python3 tests/app/soak_game.py --game "$build/quorvanel" --content "$build/content" \
  --minutes "$minutes" --sample 60 "$@"
