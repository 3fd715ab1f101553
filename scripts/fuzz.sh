#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in build-fuzz/ and runs
# each one after the other for SECONDS (default 60), one process at a time.
# Every crash, hang or leak found is minimised and saved under
# fuzz/crashes/<target>/, where the CTests fuzz_<target> replay it.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
shift || true

scripts/install-deps.sh
need=()
command -v clang++ >/dev/null || need+=(clang)
# libFuzzer is part of the compiler runtime of this Debian's clang
# (libclang-rt-dev, or libclang-rt-<major>-dev where no meta package exists).
if ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  need+=(libclang-rt-dev)
fi
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y --no-install-recommends)
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  if ! "${apt[@]}" install "${need[@]}"; then
    major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -1)
    "${apt[@]}" install clang "libclang-rt-$major-dev"
  fi
fi

build=build-fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DQV_FUZZ=ON -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do
    n=$(basename "$f" .cpp)
    targets+=("${n%_fuzz}")
  done
fi
build_targets=()
for t in "${targets[@]}"; do build_targets+=(--target "fuzz_$t"); done
cmake --build "$build" -j2 "${build_targets[@]}"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0

status=0
summary=()
for t in "${targets[@]}"; do
  # Absolute paths throughout: the targets change their current directory,
  # and libFuzzer writes its job log into the current one.
  exe="$root/$build/fuzz/fuzz_$t"
  crashes="$root/fuzz/crashes/$t"
  work="$root/$build/fuzz-work/$t"
  mkdir -p "$crashes" "$work/corpus" "$work/artifacts"
  dict=()
  [ -f "fuzz/dict/$t.dict" ] && dict=(-dict="$root/fuzz/dict/$t.dict")
  echo "== $t: ${seconds} s"
  log="$work/fuzz.log"
  # New inputs go to the work folder; the committed seeds are only read.
  set +e
  (cd "$work" && "$exe" "$work/corpus" "$root/fuzz/corpus/$t" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -malloc_limit_mb=2048 -max_len=65536 -jobs=1 -workers=1 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" >"$log" 2>&1)
  rc=$?
  rm -f "$work/fuzz-0.log"
  set -e
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  summary+=("$t: ${execs:-?} executions, exit $rc")
  for a in "$work"/artifacts/*; do
    [ -f "$a" ] || continue
    status=1
    name=$(basename "$a")
    echo "   found $name; minimising"
    (cd "$work" && "$exe" -minimize_crash=1 -max_total_time=60 -timeout=10 -rss_limit_mb=2048 \
      -exact_artifact_path="$crashes/$name" "$a" >"$work/minimise-$name.log" 2>&1) || true
    [ -f "$crashes/$name" ] || cp "$a" "$crashes/$name"
    rm -f "$a"
    grep -m1 -E "ERROR|SUMMARY|timeout|out-of-memory" "$log" || true
  done
done

printf '%s\n' "${summary[@]}"
exit $status
