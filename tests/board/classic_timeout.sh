#!/usr/bin/env bash
# A classic level nobody plays: the lamp burns down, the level ends with
# status 2 (time out) and starts again, and nothing else ends it.
#
# usage: classic_timeout.sh GAME CONTENT
set -u
game=${1:?game executable}
content=${2:?application folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/user"
# Level 1 allows a little over two minutes: 1400 frames of 200 ms are two
# allowances and then some.
"$game" --app-dir "$content" --user-data "$work/user" --seed 5 --fixed-step 200 --frames 1400 \
  --level 1 --mode classic --trace "$work/trace.jsonl" > "$work/out.txt" 2>&1 || {
  echo "FAIL: the game exited with $?"
  tail -20 "$work/out.txt"
  exit 1
}
starts=$(grep -c '"event":"level_start"' "$work/trace.jsonl")
timeouts=$(grep '"event":"level_end"' "$work/trace.jsonl" | grep -c '"status":2')
ends=$(grep -c '"event":"level_end"' "$work/trace.jsonl")
moves=$(grep -c '"event":"move"' "$work/trace.jsonl")
echo "level starts $starts, level ends $ends (time out $timeouts), moves $moves"
[ "$moves" -eq 0 ] || { echo "FAIL: moves were played"; exit 1; }
[ "$timeouts" -ge 1 ] && [ "$timeouts" -eq "$ends" ] || { echo "FAIL: the level did not end by time only"; exit 1; }
[ "$starts" -gt "$timeouts" ] || { echo "FAIL: the level did not start again after its time ran out"; exit 1; }
echo "ok"
