#!/usr/bin/env bash
# The data tool's level, play and autoplay commands, run as a level designer would.
source "$(dirname "$0")/lib.sh"
# Runs a python expression over the JSON lines of a file (list `e`).
query() {
  python3 -c "import json,sys; e=[json.loads(l) for l in open(sys.argv[1])]; print($2)" "$1"
}

cat > meadow.xml <<'XML'
<level name="Meadow" Flowercolors="11,23,35,47,52" time="120" shift_x="10" shift_y="20"
       Flowercolor_default="-1" Celltype_default="1" Cellcolor_default="-1" cols="8" rows="7">
  <cells_def>
    <cell_def col="0" row="0" Celltype="-1"/>
    <cell_def col="3" row="4" Celltype="2" Cellcolor="1"/>
    <cell_def col="5" row="2" Flowercolor="-10"/>
  </cells_def>
</level>
XML

"$tool" level meadow.xml > level.json
check level-fields "Meadow 11,23,35,47,52 8 7 {'kind': 1, 'flower': -1, 'color': -1}" \
  "$(query level.json "e[0]['name'], e[0]['palette'], e[0]['cols'], e[0]['rows'], e[0]['defaults']")"
check level-cells "[-1, -1, -1] [-1, 2, 1] [-10, 1, -1] 8 7" \
  "$(query level.json "e[0]['cells'][0][0], e[0]['cells'][3][4], e[0]['cells'][5][2], len(e[0]['cells']), len(e[0]['cells'][7])")"

# A seeded game is the same every time; a rejected move changes nothing.
"$tool" play --level meadow.xml --seed 7 --difficulty 2 --moves "0,1,0,3;1,1,1,2" --auto 3 > a.jsonl
"$tool" play --level meadow.xml --seed 7 --difficulty 2 --moves "0,1,0,3;1,1,1,2" --auto 3 > b.jsonl
check play-repeatable "" "$(cmp a.jsonl b.jsonl)"
check play-events "start rejected" "$(query a.jsonl "e[0]['event'], e[1]['event']")"
check play-start "8 7 5 8" "$(query a.jsonl "e[0]['cols'], e[0]['rows'], len(e[0]['palette']), len(e[0]['counters'])")"
check play-auto-best "True" "$(query a.jsonl "all(m['swap'] == p['moves'][0][:4] and m['productive'] for p, m in zip(e[-4:-1], e[-3:]))")"
check play-move-fields "True" \
  "$(query a.jsonl "all(k in e[-1] for k in ('waves','board','scores','player','stats','counters','moves','status'))")"
check play-points-paid "True" \
  "$(query a.jsonl "sum(l['points'] for m in e if m['event']=='move' for w in m['waves'] for l in w['lines']) == e[-1]['scores'][0]")"
check play-moves-counted "True" \
  "$(query a.jsonl "e[-1]['counters'][0] == sum(1 for m in e if m['event']=='move' and m['productive'])")"

# Errors: one line on stderr, exit 1.
"$tool" play --level missing.xml --seed 1 > /dev/null 2> err.txt
check missing-exit 1 $?
check missing-lines 1 "$(wc -l < err.txt)"
"$tool" play --level meadow.xml > /dev/null 2>&1
check no-seed-exit 1 $?
"$tool" play --level meadow.xml --seed 1 --moves "1,2,3" > /dev/null 2>&1
check bad-moves-exit 1 $?
# A move far outside the board is a rejected move, not a bad argument.
"$tool" play --level meadow.xml --seed 1 --moves "0,1,5000000,1;-2147483648,0,2147483647,0" > far.jsonl
check far-move-rejected "0 rejected rejected [0, 1, 5000000, 1]" \
  "$(query far.jsonl "len([m for m in e if m['event']=='move']), e[1]['event'], e[2]['event'], e[1]['swap']")"
echo '<level Flowercolor_default="-1" Celltype_default="1" Cellcolor_default="-1" cols="100000" rows="100000"/>' > huge.xml
"$tool" level huge.xml > /dev/null 2> err.txt
check huge-exit 1 $?
check huge-lines 1 "$(wc -l < err.txt)"
echo '<level Celltype_default="1" Cellcolor_default="-1" cols="3" rows="3"/>' > nodefault.xml
"$tool" play --level nodefault.xml --seed 1 > /dev/null 2>&1
check no-default-exit 1 $?
echo '<level Flowercolor_default="-1" Celltype_default="9" Cellcolor_default="-1" cols="-4" rows="3"/>' > empty.xml
check empty-board "0 []" "$("$tool" play --level empty.xml --seed 1 | python3 -c "import json,sys; e=json.loads(sys.stdin.readline()); print(e['cols'], e['board'])")"

# Autoplay summary.
"$tool" autoplay --level meadow.xml --games 3 --seed 5 --difficulty 2 --strategy computer > auto.json
check autoplay "3 True" \
  "$(query auto.json "e[0]['games'], e[0]['wins'] + sum(e[0]['losses'].values()) + e[0]['unfinished'] == 3")"
"$tool" autoplay --level meadow.xml --games 2 --strategy worst > /dev/null 2>&1
check bad-strategy-exit 1 $?

finish
