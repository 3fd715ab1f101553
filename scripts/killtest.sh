#!/usr/bin/env bash
# Kills the game with SIGKILL at random moments while it saves, ROUNDS
# times (default 300), and checks after each round that every player file is
# the old or a new version and loads: tests/app/kill_game.py (its --help
# says how). Uses the sanitizer build of scripts/run-tests.sh in
# build-asan/ (or QV_BUILD). Extra arguments go to kill_game.py (--seed N
# repeats a run's kill moments).
# Usage: scripts/killtest.sh [ROUNDS] [ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-300}
shift || true

build=${QV_BUILD:-build-asan}
if [ ! -f "$build/build.ninja" ]; then
  scripts/install-deps.sh
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target quorvanel quorvanel-data content

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
exec python3 tests/app/kill_game.py --game "$build/quorvanel" --content "$build/content" \
  --tool "$build/tools/quorvanel-data" --source "$PWD" --rounds "$rounds" "$@"
