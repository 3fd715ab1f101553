#!/usr/bin/env bash
# Checks that every tracked C++ file (.h, .cpp, .inc) is formatted as
# .clang-format says, without changing any file. Installs clang-format when
# it is missing.
#
# Usage: scripts/check-format.sh
# Prints the files that need formatting (fix them with `clang-format -i`).
# Exit status: 0 all formatted, 1 some files need formatting, 2 setup failure.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "Installing: clang-format"
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 -y --no-install-recommends \
    install clang-format
fi

if ! files=$(git ls-files -- '*.h' '*.cpp' '*.inc' 2>/dev/null); then
  echo "check-format: not a git checkout" >&2
  exit 2
fi
bad=()
while IFS= read -r f; do
  [ -f "$f" ] || continue  # deleted but not yet committed
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done <<<"$files"

if [ ${#bad[@]} -eq 0 ]; then
  echo "check-format: all $(wc -l <<<"$files") files formatted"
  exit 0
fi
echo "check-format: these files need clang-format -i (clang-format $(clang-format --version | sed 's/.*version //')):"
printf '  %s\n' "${bad[@]}"
exit 1
