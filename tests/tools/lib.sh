# Shared by the data tool's shell tests; each sources it first. It makes a
# scratch folder (removed on exit), enters it, and counts failed checks.
set -u
tool=${QV_TOOL:?QV_TOOL names the data tool}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fails=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: expected [$2], got [$3]"
    fails=$((fails + 1))
  fi
}
finish() {  # the exit status of the script
  [ "$fails" -eq 0 ] && echo "all checks passed"
  exit $((fails > 0))
}
