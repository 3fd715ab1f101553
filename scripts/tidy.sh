#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the project's sources,
# using the compile commands of a build configured for it (build-tidy: every
# library, test, tool and benchmark; nothing is compiled). Slow, so CI does
# not run it.
#
# Usage: scripts/tidy.sh [path...]
#   path   files or folders to check (default: src tests tools bench)
# Environment: TIDY_JOBS (parallel clang-tidy runs, default: the core count).
# Prints each finding once, then the number of findings; the full output is
# in build-tidy/tidy.log. Exit status: 0 clean, 1 findings, 2 setup failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

install_package() {
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "Installing: $1"
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 -y --no-install-recommends install "$1"
}
command -v clang-tidy >/dev/null || install_package clang-tidy
scripts/install-deps.sh

build=build-tidy
mkdir -p "$build"
if ! cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_BUILD_TESTS=ON -DQV_BUILD_BENCH=ON \
     -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >"$build/configure.log" 2>&1; then
  cat "$build/configure.log" >&2
  exit 2
fi

paths=("$@")
[ ${#paths[@]} -gt 0 ] || paths=(src tests tools bench)
# The translation units of the compile commands that lie under the paths
# (generated sources in the build folder are skipped).
mapfile -t files < <(python3 - "$build/compile_commands.json" "$root" "${paths[@]}" <<'PY'
import json, os, sys
db, root, paths = sys.argv[1], sys.argv[2], sys.argv[3:]
prefixes = [os.path.realpath(os.path.join(root, p)) for p in paths]
seen = set()
for entry in json.load(open(db)):
    f = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    if f in seen or not f.endswith(".cpp"):
        continue
    if any(f == p or f.startswith(p + os.sep) for p in prefixes):
        seen.add(f)
        print(f)
PY
)
if [ ${#files[@]} -eq 0 ]; then
  echo "tidy: no sources under ${paths[*]}" >&2
  exit 2
fi

jobs=${TIDY_JOBS:-$(nproc)}
log=$build/tidy.log
echo "clang-tidy $(clang-tidy --version | sed -n 's/.*version \([0-9.]*\).*/\1/p' | head -1): ${#files[@]} files, $jobs at a time"
printf '%s\0' "${files[@]}" |
  xargs -0 -n 1 -P "$jobs" clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option \
    >"$log" 2>&1 || true

# One line per finding (a header's findings come once, whichever file
# included it), relative to the root.
findings=$(grep -E '^/.*:[0-9]+:[0-9]+: (warning|error):' "$log" | sed "s|^$root/||" | sort -u || true)
if [ -z "$findings" ]; then
  echo "tidy: clean"
  exit 0
fi
echo "$findings"
echo "tidy: $(echo "$findings" | wc -l) findings (details in $log)"
exit 1
