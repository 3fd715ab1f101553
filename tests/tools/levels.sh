#!/usr/bin/env bash
# The data tool's level report, run as a level designer would on an
# application folder of its own.
source "$(dirname "$0")/lib.sh"
query() {  # a python expression over the JSON lines of a file (list `e`)
  python3 -c "import json,sys; e=[json.loads(l) for l in open(sys.argv[1])]; print($2)" "$1"
}

mkdir -p app/data/ini app/data/levels
cat > game.xml <<'XML'
<game name="Report" type="Game" maings="GS_Main">
 <gamescreens>
  <gamescreen type="ZintaraGameScreenMain" name="GS_Main">
   <levels>
    <level level="1" filename="data\levels\meadow.xml" LevelName="meadow" DisplayName="Meadow"/>
    <level level="2" filename="data\levels\relic.xml" LevelName="relic" DisplayName="Relic" artifact="4"/>
    <level level="3" filename="data\levels\stuck.xml" LevelName="stuck" DisplayName="Stuck"/>
    <level level="4" filename="data\levels\missing.xml" DisplayName="Missing"/>
   </levels>
  </gamescreen>
 </gamescreens>
</game>
XML
"$tool" encipher --key-role game game.xml app/data/ini/Zintara.ini
cat > app/data/levels/meadow.xml <<'XML'
<level name="Meadow" Flowercolors="11,22,33,44" time="90" Flowercolor_default="-1" Celltype_default="1"
       Cellcolor_default="-1" cols="6" rows="5">
  <cells_def><cell_def col="2" row="2" Cellcolor="0"/><cell_def col="3" row="3" Cellcolor="1"/></cells_def>
</level>
XML
cat > app/data/levels/relic.xml <<'XML'
<level name="Relic" Flowercolors="11,22,33,44,55" time="120" Flowercolor_default="-1" Celltype_default="1"
       Cellcolor_default="-1" cols="6" rows="5">
  <cells_def><cell_def col="2" row="0" Flowercolor="-10"/><cell_def col="4" row="2" Celltype="2" Cellcolor="1"/></cells_def>
</level>
XML
# Four cells never make a line: no move at the start, every game lost.
cat > app/data/levels/stuck.xml <<'XML'
<level name="Stuck" Flowercolors="11,22,33" time="60" Flowercolor_default="-1" Celltype_default="1"
       Cellcolor_default="0" cols="2" rows="2"/>
XML

"$tool" levels app --games 4 --seed 9 --levels 1-2 > a.jsonl
check two-levels-exit 0 $?
"$tool" levels app --games 4 --seed 9 --levels 1-2 > b.jsonl
check repeatable "" "$(cmp a.jsonl b.jsonl)"
check lines "3 [1, 2] True" "$(query a.jsonl "len(e), [x['level'] for x in e[:2]], 'summary' in e[2]")"
check level-fields "Meadow 4 2 0 90 | Relic 5 2 4 120" \
  "$(query a.jsonl "' | '.join('%s %d %d %d %d' % (x['name'], x['palette'], x['to_complete'], x['artifact'], x['time']) for x in e[:2])")"
check strategies "True" \
  "$(query a.jsonl "all(set(x[s]) == {'win_rate', 'median_moves'} for x in e[:2] for s in ('best', 'random', 'computer'))")"
# 3 s a move of the best strategy's median game, in whole tens, at least 60.
check suggested-time "True" \
  "$(query a.jsonl "all(x['suggested_time'] == max(60, -(-3 * x['best']['median_moves'] // 10) * 10) for x in e[:2])")"
check summary "2 0.6 []" "$(query a.jsonl "e[2]['summary']['levels'], e[2]['summary']['minimum'], e[2]['summary']['below']")"
# The seed decides the games: another one plays others.
"$tool" levels app --games 4 --seed 10 --levels 1-2 > c.jsonl
check other-seed "differ" "$(cmp -s a.jsonl c.jsonl && echo same || echo differ)"

# A level the strongest player cannot win: exit 2, the report complete.
"$tool" levels app --games 2 --levels 3 --strategies best > stuck.jsonl 2> err.txt
check stuck-exit 2 $?
check stuck-report "0 0 False [3] 3" \
  "$(query stuck.jsonl "e[0]['best']['win_rate'], e[0]['best']['median_moves'], 'random' in e[0], e[1]['summary']['below'], e[1]['summary']['lowest']['level']")"
check stuck-stderr 1 "$(wc -l < err.txt)"
"$tool" levels app --games 2 --levels 3 --strategies random,computer --min-best 0 > no-best.jsonl
check no-best-no-curve "0 False" "$(query no-best.jsonl "e[1]['summary']['levels'], 'suggested_time' in e[0]")"

# The whole list: the missing level is a line of its own and exit 1.
"$tool" levels app --games 1 --strategies best --min-best 0 > all.jsonl 2> err.txt
check missing-exit 1 $?
check missing-line "Missing the level cannot be loaded 3" \
  "$(query all.jsonl "e[3]['name'], e[3]['error'], e[4]['summary']['levels']")"

# Bad arguments: one line on standard error, exit 1.
for args in "" "nowhere" "app --games 0" "app --strategies clever" "app --levels 5-2" "app --min-best 2" \
  "app --mode duel_player" "app extra"; do
  # shellcheck disable=SC2086
  "$tool" levels $args > /dev/null 2> err.txt
  check "bad [$args] exit" 1 $?
  check "bad [$args] one line" 1 "$(wc -l < err.txt)"
done
mkdir empty
"$tool" levels empty > /dev/null 2> err.txt
check no-description-exit 1 $?
grep -q "game description" err.txt
check no-description-says 0 $?

"$tool" levels --help > help.txt
check help-exit 0 $?
grep -q "max(60, 10 \* ceil(3 \* median_moves / 10))" help.txt
check help-formula 0 $?
finish
