#!/usr/bin/env bash
# The data tool's render command, run as a content author would: stored
# widget trees drawn on a headless engine, the update region per frame, and
# the errors that stop a run.
source "$(dirname "$0")/lib.sh"
# A group at (2,1) holding a red 3x2 rectangle at its origin and a green 2x2
# one at (2,1) inside it, drawn after the red one.
cat > group.xml <<'EOF'
<widget type="group_widget" name="root" visible="yes" anchor_left="2" anchor_top="1">
  <widgets>
    <widget type="rect_widget" name="red" visible="yes" anchor_left="0" anchor_top="0" width="3" height="2" color="$FFFF0000"/>
    <widget type="rect_widget" name="green" visible="yes" anchor_left="2" anchor_top="1" width="2" height="2" color="$FF00FF00"/>
  </widgets>
</widget>
EOF
# A group with a white rectangle that lives 25 ms and a blue one that stays.
cat > timed.xml <<'EOF'
<widget type="group_widget" name="root" visible="yes">
  <widgets>
    <widget type="rect_widget" name="short" visible="yes" anchor_left="1" anchor_top="1" width="4" height="3" timetolive="25" color="$FFFFFFFF"/>
    <widget type="rect_widget" name="stays" visible="yes" anchor_left="6" anchor_top="3" width="2" height="2" color="$FF0000FF"/>
  </widgets>
</widget>
EOF
legend="16,32,48=. 255,0,0=R 0,255,0=G 0,0,255=B 255,255,255=W 0,0,0=k"

# --- drawing: the root at its anchor, children in order, on the background ---
"$tool" render --widget group.xml --size 8x5 --background 0xFF102030 --out group.png
check "group exit" 0 $?
if command -v python3 > /dev/null; then
  check "group pixels" "8x5 2 8 ........ ..RRR... ..RRGG.. ....GG.. ........" "$(rows group.png $legend)"
  # The default screen: 640x480, opaque black, the tree in its top-left corner.
  "$tool" render --widget group.xml --out default.png
  check "default exit" 0 $?
  rows default.png $legend > default.txt
  check "default size" "640x480 2 8" "$(cut -d' ' -f1-3 default.txt)"
  # Each row with its black end cut off, runs of equal rows counted.
  check "default rows" "1| 1kkRRR| 1kkRRGG| 1kkkkGG| 476|" \
    "$(tr ' ' '\n' < default.txt | tail -n +4 | sed 's/k*$/|/' | uniq -c | awk '{print $1 $2}' | paste -sd' ')"
  # The background's alpha is not kept: the image is RGB whatever it says.
  "$tool" render --widget group.xml --size 8x5 --background 0x00102030 --out clear.png
  check "clear background pixels" "8x5 2 8 ........ ..RRR... ..RRGG.. ....GG.. ........" "$(rows clear.png $legend)"
  # A screen smaller than the tree cuts it off.
  "$tool" render --widget group.xml --size 5x3 --background 0xFF102030 --out small.png
  check "small screen pixels" "5x3 2 8 ..... ..RRR ..RRG" "$(rows small.png $legend)"
  # Enciphered storage with the game's data key reads like plain XML.
  "$tool" encipher --key-role game group.xml group.txt
  "$tool" render --widget group.txt --size 8x5 --background 0xFF102030 --out ciphered.png
  check "enciphered widget exit" 0 $?
  check "enciphered widget pixels" "$(rows group.png $legend)" "$(rows ciphered.png $legend)"
  # After the short-lived rectangle died only the blue one is drawn.
  "$tool" render --widget timed.xml --size 8x5 --background 0xFF102030 --frames 3 --out timed.png
  check "dead widget is not drawn" "8x5 2 8 ........ ........ ........ ......BB ......BB" "$(rows timed.png $legend)"
  "$tool" render --widget timed.xml --size 8x5 --background 0xFF102030 --frames 2 --out alive.png
  check "live widget is drawn" "8x5 2 8 ........ .WWWW... .WWWW... .WWWW.BB ......BB" "$(rows alive.png $legend)"
fi

# --- the update region per frame -------------------------------------------
# Frame 1 reports every widget and the group, merged into their bounding
# box; frame 3 (30 ms >= 25) removes the short one and repaints where it was.
check "dirty frames" '{"frame":1,"rects":[[1,1,8,5]]}
{"frame":2,"rects":[]}
{"frame":3,"rects":[[1,1,5,4]]}
{"frame":4,"rects":[]}' "$("$tool" render --widget timed.xml --size 8x5 --frames 4 --dirty --out d.png)"
# A 30 ms step kills it in the first frame, before it was ever shown.
check "dirty with a long step" '{"frame":1,"rects":[[6,3,8,5]]}' \
  "$("$tool" render --widget timed.xml --size 8x5 --step 30 --dirty --out d.png)"
# Rectangles are clamped to the screen; a still tree reports nothing later.
check "dirty clamped to the screen" '{"frame":1,"rects":[[2,1,5,3]]}
{"frame":2,"rects":[]}' "$("$tool" render --widget group.xml --size 5x3 --frames 2 --dirty --out d.png)"
check "no frames, no lines" "" "$("$tool" render --widget group.xml --frames 0 --dirty --out d.png)"
check "no --dirty, no lines" "" "$("$tool" render --widget timed.xml --frames 4 --out d.png)"

# --- resources: loaded from the application folder ---------------------------
mkdir -p app/data/img
echo iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAYAAAD0In+KAAAAEUlEQVR4nGP4//9/AycnJwMAF8UDmQsNYFUAAAAASUVORK5CYII= | base64 -d > app/data/img/pic.png
cat > list.xml <<'EOF'
<resources><content>
  <resource type="ImageResource" name="pic" file="data\img\pic.png" format="png"/>
</content></resources>
EOF
"$tool" render --widget group.xml --app-dir app --resources list.xml --out r.png 2> r.err
check "resources exit" 0 $?
check "resources load quietly" "" "$(cat r.err)"
# The widget's folder is the default application folder: no image there.
"$tool" render --widget group.xml --resources list.xml --out r.png 2> r.err
check "missing image still renders" 0 $?
grep -q "resource pic" r.err
check "missing image is reported" 0 $?
"$tool" encipher --key-role game list.xml list.txt
"$tool" render --widget group.xml --app-dir app --resources list.txt --out r.png 2> r.err
check "enciphered list exit" 0 $?
check "enciphered list loads quietly" "" "$(cat r.err)"

# --- errors: one line on standard error, exit 1, no image ----------------------
echo '<widget type="nosuchwidget"/>' > unknown.xml
echo '<widget type="ImageResource" name="img"/>' > notwidget.xml
echo '<widget type="rect_widget"' > broken.xml
echo 'not a storage file' > garbage.xml
fail_case "missing file" "nofile.xml" --widget nofile.xml --out err.png
fail_case "unknown type" "nosuchwidget" --widget unknown.xml --out err.png
fail_case "not a widget" "not a widget" --widget notwidget.xml --out err.png
fail_case "broken xml" "broken.xml" --widget broken.xml --out err.png
fail_case "garbage" "garbage.xml" --widget garbage.xml --out err.png
fail_case "broken resource list" "broken.xml" --widget group.xml --resources broken.xml --out err.png
fail_case "missing resource list" "nolist.xml" --widget group.xml --resources nolist.xml --out err.png
fail_case "no widget option" "--widget" --out err.png
fail_case "no out option" "--out" --widget group.xml
fail_case "bad size" "--size" --widget group.xml --size 8by5 --out err.png
fail_case "zero size" "--size" --widget group.xml --size 0x5 --out err.png
fail_case "negative frames" "--frames" --widget group.xml --frames -1 --out err.png
fail_case "bad step" "--step" --widget group.xml --step soon --out err.png
fail_case "bad seed" "--seed" --widget group.xml --seed x --out err.png
fail_case "bad background" "--background" --widget group.xml --background red --out err.png
fail_case "missing app folder" "nodir" --widget group.xml --app-dir nodir --out err.png
"$tool" render --widget group.xml --seed 7 --out seeded.png
check "seeded exit" 0 $?

# --- help --------------------------------------------------------------------------
help=$("$tool" render --help)
for word in --widget --app-dir --resources --size --background --frames --step --seed --dirty --out \
  '"frame"' '"rects"' "exit codes"; do
  case "$help" in *"$word"*) ;; *) check "help mentions $word" yes no ;; esac
done
finish
