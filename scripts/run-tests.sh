#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test, then checks the formatting of the C++ files
# (scripts/check-format.sh). Installs the Debian packages it misses first.
# Fails when a test fails or a file needs formatting.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build-asan
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@" || status=$?
scripts/check-format.sh || status=1
exit "$status"
