#!/usr/bin/env bash
# The data tool's render command on particle systems and transform widgets:
# the stored fixtures of tests/fixtures/transforms drawn frame by frame, as
# an author previews an explosion or a turning glow.
source "$(dirname "$0")/lib.sh"
fixtures=${QV_SOURCE_DIR:?QV_SOURCE_DIR names the source tree}/tests/fixtures/transforms
# The image's rows as lib.sh's rows gives them, after "WxH" alone.
pixels() { rows "$@" | sed -E 's/^([0-9]+x[0-9]+) [0-9]+ [0-9]+/\1/'; }
# Opaque pixels drawn in normal mode over an opaque screen move 255/256 of
# the way (16 + floor(239 * 255 / 256) = 254).
legend="16,32,48=. 255,0,0=R 0,255,0=G 254,0,0=r 0,254,0=g"
bg="--background 0xFF102030"

# --- particles: three frames of 10 ms make three particles 1 pixel apart ---
"$tool" render --widget "$fixtures/particles.xml" --size 8x4 $bg --frames 3 --step 10 --seed 1 \
  --dirty --out particles.png > particles.txt
check "particles exit" 0 $?
# The update region of each frame is the cloud, old place included.
check "particles dirty" \
  '{"frame":1,"rects":[[1,1,3,3]]} {"frame":2,"rects":[[1,1,4,3]]} {"frame":3,"rects":[[1,1,5,3]]}' \
  "$(paste -sd' ' particles.txt)"
if command -v python3 > /dev/null; then
  check "particles pixels" "8x4 ........ .RRRR... .RRRR... ........" "$(pixels particles.png $legend)"
  # 31 frames: the first particle is 30 pixels on, beyond this screen, and
  # the cloud still starts at the emission point.
  "$tool" render --widget "$fixtures/particles.xml" --size 8x4 $bg --frames 31 --step 10 --out later.png
  check "later particles" "8x4 ........ .RRRRRRR .RRRRRRR ........" "$(pixels later.png $legend)"
  # No frame: nothing emitted yet.
  "$tool" render --widget "$fixtures/particles.xml" --size 8x4 $bg --frames 0 --out none.png
  check "no frame no particles" "8x4 ........ ........ ........ ........" "$(pixels none.png $legend)"
fi

# --- a widget driven along a path by its function: 100 ms is step 100 of
# 1000 on the way from (0, 0) to (100, 50) ---
"$tool" render --widget "$fixtures/path.xml" --size 16x8 $bg --frames 10 --step 10 --dirty --out path.png \
  > path.txt
check "path exit" 0 $?
check "path first frame" '{"frame":1,"rects":[[1,0,3,2]]}' "$(head -n 1 path.txt)"
check "path last frame" '{"frame":10,"rects":[[9,4,12,7]]}' "$(tail -n 1 path.txt)"
if command -v python3 > /dev/null; then
  check "path pixels" "16x8 ................ ................ ................ ................ ................ \
..........GG.... ..........GG.... ................" "$(pixels path.png $legend)"
fi

# --- a quarter turn about the child's corner, exact pixels ---
"$tool" render --widget "$fixtures/rotate.xml" --size 8x8 $bg --out rotate.png
check "rotate exit" 0 $?
if command -v python3 > /dev/null; then
  check "rotate pixels" "8x8 ........ ........ ........ ........ ..gr.... ...r.... ...r.... ........" \
    "$(pixels rotate.png $legend)"
  # The timed widget after 250 ms: -90 degrees, the other way round.
  "$tool" render --widget "$fixtures/timed.xml" --size 8x8 $bg --frames 25 --step 10 --out timed.png
  check "timed rotation pixels" "8x8 ........ ........ ...r.... ...r.... ...r.... ...rg... ........ ........" \
    "$(pixels timed.png $legend)"
fi

# --- help: the command names every option it takes ---
help=$("$tool" render --help)
for word in --widget --frames --step --seed --dirty --out; do
  case "$help" in *"$word"*) ;; *) check "help mentions $word" yes no ;; esac
done
finish
