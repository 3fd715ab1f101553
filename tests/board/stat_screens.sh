#!/usr/bin/env bash
# A level played by the bot to its statistics screen in each mode that has
# one, the Continue button clicked, and back at the main screen; then the
# relaxed level once more on the same per-user folder. The traces must show
# the screens in order, the records and profile values written, and the
# second run must build on what the first one saved.
#
# usage: stat_screens.sh GAME CONTENT [SHOTS]
#   GAME     the quorvanel executable
#   CONTENT  the built application folder (build/content)
#   SHOTS    a folder for a screenshot of each statistics screen (optional)
set -u
game=${1:?game executable}
content=${2:?application folder}
shots=${3:-}
source_dir=${QV_SOURCE_DIR:?QV_SOURCE_DIR names the source folder}
tool=${QV_TOOL:?QV_TOOL names the data tool}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The bundled content with the small fixture level "holes" as level 1.
app="$work/app"
cp -r "$content" "$app"
mkdir -p "$app/data/levels"
cp "$source_dir/tests/fixtures/board/holes.xml" "$app/data/levels/"
python3 - "$source_dir/content/game.xml" "$app/game.xml" <<'PY' || exit 1
import sys
source, target = sys.argv[1:]
text = open(source, encoding="utf-8").read()
# the main screen's level list (its first "levels" child) replaced
main = text.index('name="GS_Main"')
start = text.index("<levels>", main)
end = text.index("</levels>", start) + len("</levels>")
assert start < text.index("</gamescreen>", main)
levels = '<levels><level level="1" filename="data\\levels\\holes.xml" DisplayName="Holes"/></levels>'
open(target, "w", encoding="utf-8").write(text[:start] + levels + text[end:])
PY
"$tool" encipher --key-role game "$app/game.xml" "$app/data/ini/Zintara.ini" || exit 1
mkdir "$work/user"

# Plays MODE with SEED into TRACE: the statistics screen waited for, looked
# at (7 s in: the counting is over), Continue (centre 320, 416) clicked, then
# the close query and quit.
play() {
  local mode=$1 seed=$2 trace=$3
  {
    echo "when shown GS_StatLevel$mode"
    [ -n "$shots" ] && echo "140 screenshot $shots/stat_$mode.png"
    printf '150 move 320 416\n151 down 320 416\n152 up 320 416\n200 close\n230 close\n'
  } > "$work/input.txt"
  "$game" --app-dir "$app" --user-data "$work/user" --seed "$seed" --fixed-step 50 --frames 12000 \
    --level 1 --mode "$mode" --bot best --trace "$trace" --input "$work/input.txt" > "$work/out.txt" 2>&1 || {
    echo "FAIL $mode: the game exited with $?"
    tail -20 "$work/out.txt"
    return 1
  }
}

# Checks a trace; prints what is wrong and fails, or prints one line.
# Arguments: trace, mode, the total score the profile had before.
check() {
  python3 - "$@" <<'PY'
import json, sys
trace, mode, before = sys.argv[1], sys.argv[2], int(sys.argv[3])
events = [json.loads(line) for line in open(trace, encoding="utf-8")]
flow = [e["event"] + " " + e.get("screen", "") for e in events if e["event"] in ("show", "close", "quit")]
want = ["show GS_StatLevel" + mode, "close GS_StatLevel" + mode, "close GS_Game", "show GS_Quit", "quit "]
fails = []
try:
    at = flow.index(want[0])
    if flow[at:at + len(want)] != want:
        fails.append("screens after the level: %s, wanted %s" % (flow[at:], want))
except ValueError:
    fails.append("no %s in %s" % (want[0], flow))
end = [e for e in events if e["event"] == "level_end"][-1]
stats = end["statistics"]
complete = end["complete"] in (True, "true")
profile = {e["name"]: e["value"] for e in events if e["event"] == "profile"}
records = {e["name"]: e["value"] for e in events if e["event"] == "level_record"}
score = int(stats["score_level"])
total = profile.get(mode + "Score")
if complete and total != str(before + score):
    fails.append("%sScore %s, wanted %d + %d" % (mode, total, before, score))
if mode == "duel_computer":
    won = "player_wins" if complete else "computer_wins"
    if won not in records or won not in profile:
        fails.append("the duel's %s not counted: records %s, profile %s" % (won, records, profile))
elif complete and mode == "classic" and records.get("time_level") is None and before == 0:
    fails.append("the first time of the timed level not kept: %s" % records)
shown = [e for e in events if e["event"] == "show" and e.get("screen") == "GS_StatLevel" + mode]
if shown and shown[0].get("params", {}).get("score_level") != stats["score_level"]:
    fails.append("the screen got %s, the level ended with %s" % (shown[0].get("params"), stats))
saves = [e.get("file") for e in events if e["event"] == "save"]
if records and "records.dat" not in saves:
    fails.append("records written but records.dat not saved")
for f in fails:
    print("  " + f)
if not fails:
    print("ok %s: status %s, score %d, records %s, %s" % (mode, end["status"], score, records,
                                                         {k: v for k, v in profile.items() if "Level" not in k}))
    print("score=%d complete=%d" % (score, complete), file=sys.stderr)
sys.exit(1 if fails else 0)
PY
}

fails=0
for run in relax:31 classic:32 duel_computer:33; do
  IFS=: read -r mode seed <<< "$run"
  play "$mode" "$seed" "$work/$mode.jsonl" || { fails=$((fails + 1)); continue; }
  check "$work/$mode.jsonl" "$mode" 0 2> "$work/$mode.result" || { echo "FAIL $mode"; fails=$((fails + 1)); }
done

# The relaxed level again: the total grows from what the first run saved,
# and the best score changes only for a higher one.
if [ -s "$work/relax.result" ]; then
  first=$(sed -n 's/^score=\([0-9]*\) complete=1$/\1/p' "$work/relax.result")
  play relax 41 "$work/relax2.jsonl" || fails=$((fails + 1))
  if [ -n "$first" ] && check "$work/relax2.jsonl" relax "$first" 2> "$work/relax2.result"; then
    second=$(sed -n 's/^score=\([0-9]*\) complete=.*$/\1/p' "$work/relax2.result")
    replaced=$(grep -c '"event":"level_record","mode":"relax","level":1,"name":"score_level"' "$work/relax2.jsonl")
    if { [ "$second" -gt "$first" ] && [ "$replaced" -ne 1 ]; } ||
       { [ "$second" -le "$first" ] && [ "$replaced" -ne 0 ]; }; then
      echo "FAIL relax again: best score $first, then $second, replaced $replaced times"
      fails=$((fails + 1))
    else
      echo "ok relax again: $first then $second"
    fi
  else
    echo "FAIL relax again"
    fails=$((fails + 1))
  fi
fi
[ $fails -eq 0 ] && echo "all statistics screens as expected"
exit $((fails > 0))
