#!/usr/bin/env bash
# The pause menu end to end on the bundled content: a classic level, Escape,
# "Restart" answered "Yes" (the same level starts again, same mode), then a
# lost window focus pauses the new start and "Resume" goes back to play.
#
# usage: pause_game.sh GAME CONTENT
# Fails when the game exits non-zero or its trace lacks one of those steps.
set -u
game=${1:?game executable}
content=${2:?application folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/user"

# click F X Y: move, press, release on three frames from F
click() { printf '%d move %d %d\n%d down %d %d\n%d up %d %d\n' "$1" "$2" "$3" $(($1 + 1)) "$2" "$3" $(($1 + 2)) "$2" "$3"; }
{
  echo "when traced level_start"
  echo "20 key Escape"
  echo "when shown GS_MiniMenu"
  click 20 320 206    # Restart, once the menu has dropped down (5 x 50 ms)
  echo "when shown GS_QueryRestart"
  click 30 235 302    # Yes, once the dialog has risen
  echo "when traced level_start"
  echo "20 blur"
  echo "when shown GS_MiniMenu"
  echo "15 focus"
  click 20 320 166    # Resume
  echo "60 close"
  echo "62 close"
} >"$work/script.txt"

if ! "$game" --app-dir "$content" --user-data "$work/user" --seed 5 --fixed-step 20 --frames 2000 \
  --level 1 --mode classic --input "$work/script.txt" --trace "$work/trace.jsonl" >"$work/out.txt" 2>&1; then
  cat "$work/out.txt"
  echo "the game failed"
  exit 1
fi

python3 - "$work/trace.jsonl" <<'PY'
import json
import sys

events = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
steps = []
for e in events:
    kind = e.get("event")
    if kind in ("show", "close") and e.get("screen") in ("GS_MiniMenu", "GS_QueryRestart"):
        steps.append("%s %s %s" % (kind, e["screen"], (e.get("params") or {}).get("Button", "")))
    if kind == "level_start":
        steps.append("level_start %s %s" % (e.get("level"), e.get("mode")))
want = ["level_start 1 classic", "show GS_MiniMenu ", "close GS_MiniMenu button_restart", "show GS_QueryRestart ",
        "close GS_QueryRestart button_yes", "level_start 1 classic", "show GS_MiniMenu ",
        "close GS_MiniMenu button_unpause"]
if steps[:len(want)] != want:
    print("steps of the pause, expected then found:")
    print("\n".join(want))
    print("--")
    print("\n".join(steps))
    sys.exit(1)
PY
