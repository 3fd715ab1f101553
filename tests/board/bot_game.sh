#!/usr/bin/env bash
# The game played on screen by its bot, every swap through mouse presses, and
# every board event of the trace checked against the rules by check_trace.py.
#
# usage: bot_game.sh LEVEL GAME CONTENT [BOT:MODE:SEED ...]
#   LEVEL    a fixture level of tests/fixtures/board (holes, locks, artifact)
#   GAME     the quorvanel executable
#   CONTENT  the built application folder (build/content)
# Without runs it plays the fixture's own list below. A run fails when the
# game exits non-zero, its trace has no level_end, or the checker finds an
# inconsistency (its lines are printed, with the run's seed and mode).
set -u
level=${1:?level name}
game=${2:?game executable}
content=${3:?application folder}
shift 3
source_dir=${QV_SOURCE_DIR:?QV_SOURCE_DIR names the source folder}
tool=${QV_TOOL:?QV_TOOL names the data tool}
here="$source_dir/tests/board"
fixture="$source_dir/tests/fixtures/board/$level.xml"
[ -f "$fixture" ] || { echo "no fixture $fixture"; exit 1; }

# Seeds are per run, so each bot and mode plays its own boards. The fixture
# levels are small: a run takes a few seconds under the sanitizers. A random
# player's relax game may last long, so a run stops at 12000 frames of 50 ms.
if [ $# -eq 0 ]; then
  case $level in
    holes) set -- best:relax:1 random:relax:2 computer:relax:3 best:classic:4 random:classic:5 computer:classic:6 \
                   best:duel_computer:7 ;;
    locks) set -- best:relax:11 random:relax:12 computer:relax:13 best:classic:14 random:classic:15 \
                   computer:classic:16 ;;
    *) set -- best:relax:21 random:relax:22 computer:relax:23 best:classic:24 random:classic:25 computer:classic:26 ;;
  esac
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# An application folder of its own: the bundled content with this one level
# as level 1 of the main screen's level list.
app="$work/app"
cp -r "$content" "$app"
mkdir -p "$app/data/levels"
cp "$fixture" "$app/data/levels/"
python3 - "$source_dir/content/game.xml" "$app/game.xml" "$level.xml" <<'PY' || exit 1
import sys
source, target, name = sys.argv[1:]
text = open(source, encoding="utf-8").read()
main = text.index('name="GS_Main"')
end = text.index("</gamescreen>", main)
levels = '<levels><level level="1" filename="data\\levels\\%s" artifact="1"/></levels>' % name
# The screen reads its first level list: the fixture's takes the bundled one's place.
start = text.find("<levels>", main, end)
if start >= 0:
    stop = text.index("</levels>", start) + len("</levels>")
    text = text[:start] + levels + text[stop:]
else:
    text = text[:end] + levels + text[end:]
open(target, "w", encoding="utf-8").write(text)
PY
"$tool" encipher --key-role game "$app/game.xml" "$app/data/ini/Zintara.ini" || exit 1

# The first close leaves the statistics for the close query, the second quits.
printf 'when traced level_end\n1 close\n3 close\n' > "$work/input.txt"

fails=0
for run in "$@"; do
  IFS=: read -r bot mode seed <<< "$run"
  name="$level $bot $mode seed $seed"
  trace="$work/$bot-$mode-$seed.jsonl"
  rm -rf "$work/user"
  mkdir "$work/user"
  started=$SECONDS
  "$game" --app-dir "$app" --user-data "$work/user" --seed "$seed" --fixed-step 50 --frames 12000 \
    --level 1 --mode "$mode" --bot "$bot" --trace "$trace" --input "$work/input.txt" > "$work/out.txt" 2>&1
  code=$?
  if [ $code -ne 0 ]; then
    echo "FAIL $name: the game exited with $code"
    tail -20 "$work/out.txt"
    fails=$((fails + 1))
    continue
  fi
  if ! python3 "$here/check_trace.py" --require-end "$trace" > "$work/check.txt"; then
    echo "FAIL $name: check_trace.py found:"
    head -20 "$work/check.txt"
    fails=$((fails + 1))
    continue
  fi
  end=$(grep '"event":"level_end"' "$trace" | head -1)
  moves=$(grep -c '"event":"move"' "$trace")
  echo "ok $name: $moves swaps, $((SECONDS - started)) s, ${end#*\"status\":}"
done
[ $fails -eq 0 ] && echo "all runs consistent"
exit $((fails > 0))
