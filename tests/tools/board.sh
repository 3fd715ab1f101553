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

# A worked example: seed 7 shuffles the palette so, and the strongest move
# of the first turn scores as estimated.
check play-literal "[11, 35, 52, 47, 23] [0, 3, 1, 4, 3000] None 3000" \
  "$(query a.jsonl "e[0]['palette'], e[0]['moves'][0], e[0]['status'], e[3]['scores'][0]")"

# A level with nothing to complete is won at the start and says so.
echo '<level Flowercolors="11,23,35" Flowercolor_default="-1" Celltype_default="0" Cellcolor_default="-1" cols="4" rows="4"/>' > done.xml
"$tool" play --level done.xml --seed 1 --moves "0,0,0,1" --auto 2 > done.jsonl
check done-status "1 [] 2 rejected the level is over" \
  "$(query done.jsonl "e[0]['status'], e[0]['moves'], len(e), e[1]['event'], e[1]['reason']")"
check start-status-null "None" "$(query a.jsonl "e[0]['status']")"

# Limits: the last line says which one stopped the game, exit 3, one line on
# standard error; limits that are not reached change nothing.
"$tool" play --level meadow.xml --seed 7 --difficulty 2 --auto 10 --max-moves 2 > cut.jsonl 2> err.txt
check max-moves-exit 3 $?
check max-moves-event "2 stopped --max-moves 2 2" \
  "$(query cut.jsonl "sum(1 for m in e if m['event']=='move'), e[-1]['event'], e[-1]['limit'], e[-1]['value'], e[-1]['played']")"
check max-moves-stderr "1 1" "$(wc -l < err.txt) $(grep -c -- '--max-moves 2 after 2 moves' err.txt)"
"$tool" play --level meadow.xml --seed 7 --difficulty 2 --auto 10 --max-waves 1 > cut.jsonl 2> /dev/null
check max-waves "3 0 --max-waves 1" \
  "$(query cut.jsonl "$?, sum(1 for m in e if m['event']=='move'), e[-1]['limit'], e[-1]['played']")"
"$tool" play --level meadow.xml --seed 7 --difficulty 2 --auto 10 --max-output 6000 > cut.jsonl 2> /dev/null
check max-output-exit 3 $?
check max-output "True --max-output" \
  "$(python3 -c "import sys; d=open('cut.jsonl').read().splitlines(True); print(sum(map(len, d[:-1])) <= 6000, d[-1].split('\"')[7])")"
"$tool" play --level meadow.xml --seed 7 --difficulty 2 --moves "0,1,0,3;1,1,1,2" --auto 3 --max-moves 4 \
  --max-waves 10 --max-output 100000 > c.jsonl 2> err.txt
check limits-not-reached "0 0" "$(cmp c.jsonl a.jsonl && echo 0) $(wc -c < err.txt)"
"$tool" play --level meadow.xml --seed 7 --max-output 0 > /dev/null 2>&1
check bad-limit-exit 1 $?

# Progress goes to standard error only once a run lasts (here at once).
"$tool" play --level meadow.xml --seed 7 --difficulty 2 --auto 2 --progress-after 0 > /dev/null 2> err.txt
check progress "True" "$(grep -c '^quorvanel-data play: 1 moves, [0-9]* bytes written, [0-9]* s$' err.txt | python3 -c "import sys; print(int(sys.stdin.read()) >= 1)")"

# Autoplay summary.
"$tool" autoplay --level meadow.xml --games 3 --seed 5 --difficulty 2 --strategy computer > auto.json
check autoplay "3 True" \
  "$(query auto.json "e[0]['games'], e[0]['wins'] + sum(e[0]['losses'].values()) + e[0]['unfinished'] == 3")"
"$tool" autoplay --level meadow.xml --games 2 --strategy worst > /dev/null 2>&1
check bad-strategy-exit 1 $?
"$tool" autoplay --level meadow.xml --games 3 --seed 5 --difficulty 2 --max-moves 2 > auto.json 2> err.txt
check autoplay-max-moves "3 3 0 2" "$? $(query auto.json "e[0]['unfinished'], e[0]['wins'], e[0]['max_moves']")"
check autoplay-max-moves-stderr "3 games stopped at --max-moves 2 (counted unfinished)" "$(sed 's/^quorvanel-data autoplay: //' err.txt)"
"$tool" autoplay --level meadow.xml --games 3 --seed 5 --difficulty 2 --max-waves 1 > auto.json 2> err.txt
check autoplay-max-waves "3 3 1" "$? $(query auto.json "e[0]['unfinished'], e[0]['max_moves']")"
"$tool" autoplay --level meadow.xml --games 5 --seed 5 --difficulty 2 --max-total-moves 1 > auto.json 2> err.txt
check autoplay-max-total "3 0 0 --max-total-moves 5" \
  "$? $(query auto.json "e[0]['games'], e[0]['max_moves'], e[0]['stopped'], e[0]['requested']")"
check autoplay-max-total-stderr "1" "$(grep -c -- 'stopped at --max-total-moves 1 after 0 of 5 games' err.txt)"
"$tool" autoplay --level meadow.xml --games 3 --seed 5 --difficulty 2 --strategy computer 2> err.txt > auto2.json
check autoplay-quiet "0 0" "$? $(wc -c < err.txt)"
check autoplay-no-stopped "True" "$(query auto2.json "'stopped' not in e[0]")"

# A palette entry that is not a colour code is reported once per run, and the
# games are played as before (the entry reads 0).
echo '<level Flowercolors="11,x,35,47" Flowercolor_default="-1" Celltype_default="1" Cellcolor_default="-1" cols="6" rows="6"/>' > badpal.xml
"$tool" autoplay --level badpal.xml --games 4 --difficulty 2 > /dev/null 2> err.txt
check palette-reported "0 1" "$? $(grep -c "^data error: Flowercolors \"11,x,35,47\": entry 2 'x' is not a two-digit colour code; 0 is used$" err.txt)"
check palette-reported-once "1" "$(wc -l < err.txt)"

# Every option, mode, strategy, event, status and exit code is in the help.
"$tool" level --help > help.txt
for word in FILE cells defaults "Exit codes"; do
  grep -q -- "$word" help.txt || check "level-help-$word" found missing
done
"$tool" play --help > help.txt
for word in --level --seed --mode --difficulty --moves --auto --max-moves --max-waves --max-output --progress-after \
  classic relax duel_computer duel_player how_to_play start move rejected stopped waves lines exploded falls \
  scores player stats counters status "0 no moves left" "1 won" "3 lost" "Exit codes" "3 stopped at a limit"; do
  grep -q -- "$word" help.txt || check "play-help-$word" found missing
done
"$tool" autoplay --help > help.txt
for word in --level --games --seed --mode --difficulty --strategy best random computer --max-moves --max-waves \
  --max-total-moves --progress-after wins losses unfinished median_moves max_moves median_score stopped requested \
  "Exit codes" "3 a limit was hit"; do
  grep -q -- "$word" help.txt || check "autoplay-help-$word" found missing
done

finish
