#!/usr/bin/env bash
# Takes the README's screenshots from the game itself into docs/screenshots/:
# every screen of the shell and the board in play, each through an input
# script whose "FRAME screenshot FILE" lines take the pictures.
#
#   scripts/screenshots.sh [--headless] [--stand-in] [--build DIR] [--out DIR]
#
# The game runs in a virtual X display (xvfb-run, 640 x 480 x 24, SDL's x11
# video driver) when xvfb-run exists and --headless is not given, else on
# SDL's dummy video driver; sound always goes to the dummy audio driver.
#
# Default: the bundled content as built (DIR/content, DIR = build-asan).
# The shell, in the first run's flow: logos, splash, the new-player dialog
# (first refused with an empty name, then given one), options (also switched
# to German) and its display dialog, how to play, the main menu with a
# player, players with the delete query, quit; the main menu in German. The
# board, in level 3 of the relax mode on a per-user folder that has seen the
# level's tutorial panel: a selected flower, the keyboard's cursor, the best
# move's explosion and the cascade after it (played by --bot best), and the
# automatic hint that comes 10 s into a turn; then level 3 in classic with
# its oil lamp, and its pause menu; level 3 in the duel against the
# computer, on the player's turn and on the computer's; the colour-blind
# mode switched on over level 3; the map's pages, a level's records, the
# story after level 5 and the trophy room after the first five levels. The
# statistics screens of relax, classic and the duel after a small level
# (tests/board/stat_screens.sh).
#
# --stand-in: every screen type is replaced by the plain "GameScreen" (in a
# copy of the content), so the pictures show the layout without the screen
# classes' behaviour: the main menu's "How to play" button is pointed at
# each dialog in turn and clicked, the splash screens are shown alone.
#
# Exit 0 when every picture was written, 1 otherwise.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="$root/build-asan"
out="$root/docs/screenshots"
standin=0
headless=0
args=("$@")
while [ $# -gt 0 ]; do
  case "$1" in
    --stand-in) standin=1 ;;
    --headless) headless=1 ;;
    --build) build="$2"; shift ;;
    --out) out="$2"; shift ;;
    *) echo "usage: $0 [--headless] [--stand-in] [--build DIR] [--out DIR]" >&2; exit 2 ;;
  esac
  shift
done

# Once inside the virtual display, or on the dummy driver.
if [ -z "${QV_SCREENSHOTS_DISPLAY:-}" ]; then
  if [ $headless -eq 0 ] && command -v xvfb-run >/dev/null; then
    QV_SCREENSHOTS_DISPLAY=x11 exec xvfb-run -a -s "-screen 0 640x480x24" "$0" "${args[@]}"
  fi
  QV_SCREENSHOTS_DISPLAY=dummy
fi
export SDL_VIDEODRIVER="$QV_SCREENSHOTS_DISPLAY" SDL_AUDIODRIVER=dummy
# The window system's libraries keep a few allocations to the end: these runs
# take pictures, the test suite hunts leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

game="$build/quorvanel"
tool="$build/tools/quorvanel-data"
content="$build/content"
for f in "$game" "$tool" "$content/data/ini/Zintara.ini"; do
  [ -e "$f" ] || { echo "$0: $f is missing (build the targets quorvanel, quorvanel-data and content)" >&2; exit 1; }
done
mkdir -p "$out"
out="$(cd "$out" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# run APPDIR SCRIPT FRAMES [ARGS...]: one run at 10 ms a frame on a fresh
# per-user folder.
run() {
  local app="$1" script="$2" frames="$3"
  shift 3
  rm -rf "$work/user" && mkdir -p "$work/user"
  "$game" --app-dir "$app" --user-data "$work/user" --seed 1 --fixed-step 10 --frames "$frames" --input "$script" \
    "$@" >/dev/null
}

# board SCRIPT FRAMES [ARGS...]: level 3 in relax at 20 ms a frame, on the
# per-user folder of the board's pictures; FRAMES count from the level start
# (its scenario, cells and flowers arriving, takes about 4 s before the
# first turn, traced as "level_start").
board_start_frames=250
board() {
  local script="$1" frames="$2" mode=relax
  shift 2
  if [ "${1:-}" = "--mode" ]; then mode="$2"; shift 2; fi
  "$game" --app-dir "$content" --user-data "$work/board_user" --seed 1 --fixed-step 20 \
    --frames "$((frames + board_start_frames))" --level 3 --mode "$mode" --input "$script" "$@" >/dev/null
}

# click F X Y: move, press, release on three frames from F
click() { printf '%d move %d %d\n%d down %d %d\n%d up %d %d\n' "$1" "$2" "$3" $(($1 + 1)) "$2" "$3" $(($1 + 2)) "$2" "$3"; }
# shot F NAME: the picture after frame F as NAME.png
shot() { printf '%d screenshot %s/%s.png\n' "$1" "$out" "$2"; }

# A dialog takes input once its show effect (200 ms, 20 frames) is over and
# the screen below once the dialog's hide effect (150 ms) has ended, so the
# clicks below wait 30 frames after a dialog is shown and 35 after one is
# closed.
if [ $standin -eq 0 ]; then
  {
    echo "when shown GS_SplashLogos"
    shot 40 splash_logos
    click 50 320 240
    echo "53 move 600 440"
    echo "when shown GS_Splash"
    shot 2 splash
    echo "when shown GS_NewUser"
    click 30 235 302   # OK without a name
    echo "when shown GS_QueryNotUniqueName"
    shot 30 query_name
    click 35 320 302
    click 60 320 238   # back in the name field
    echo "70 text Anna"
    shot 75 new_user
    click 80 235 302
    click 130 320 432  # options
    echo "when shown GS_Options"
    shot 30 options
    click 35 435 94    # the language: Deutsch, at once
    echo "45 move 600 20"
    shot 50 options_de
    click 55 435 94    # English again
    click 60 225 324   # display
    echo "when shown GS_OptionsDisplay"
    shot 30 options_display
    echo "35 key Escape"
    echo "when closed GS_OptionsDisplay"
    click 35 415 324
    click 75 320 372   # how to play: its first page's board has played a while
    echo "when shown GS_HowToPlay"
    echo "30 move 600 20"
    shot 400 how_to_play
    click 405 560 448
    echo "445 move 320 250" # the pointer over "Relax"
    shot 450 main
    click 455 110 432  # players: select Anna, delete
    echo "when shown GS_UserProfiles"
    click 30 320 110
    shot 45 profiles
    click 50 320 264
    echo "when shown GS_QueryDeleteProfile"
    shot 30 delete_profile
    click 35 405 302   # no
    click 70 405 324   # cancel
    click 110 530 432  # quit
    echo "when shown GS_Quit"
    shot 30 quit
    click 35 235 302
  } >"$work/flow.txt"
  run "$content" "$work/flow.txt" 4000
  # The main menu in German: the language chosen on the options, which
  # close over the menu already switched.
  {
    echo "when shown GS_NewUser"; echo "30 text Anna"; click 35 235 302
    click 75 320 432
    echo "when shown GS_Options"; click 35 435 94; click 45 415 324
    echo "when closed GS_Options"; echo "30 move 320 250"; shot 40 main_de
  } >"$work/s.txt"
  run "$content" "$work/s.txt" 700

  # The board: a first visit shows the level's tutorial panel and notes it
  # in the player's profile, so the pictures after it show the board alone.
  mkdir -p "$work/board_user"
  printf 'when traced level_start\n60 close\n' >"$work/s.txt"
  board "$work/s.txt" 100
  { echo "when traced level_start"; click 40 345 180; echo "43 move 600 440"; shot 60 board_selection; } \
    >"$work/s.txt"
  board "$work/s.txt" 70
  # The keyboard: the cursor cell moved by the arrows, Space selecting.
  { echo "when traced level_start"; echo "2 move 600 440"; echo "10 key Right"; echo "14 key Right"
    echo "18 key Down"; echo "22 key space"; echo "26 key Right"; shot 40 board_keyboard; } >"$work/s.txt"
  board "$work/s.txt" 50
  { echo "when traced move"; shot 17 board_explosion; shot 46 board_cascade; } >"$work/s.txt"
  board "$work/s.txt" 200 --bot best
  # the automatic hint comes 10 s (500 frames) after the first turn starts,
  # which is about 2 s after the level start (the flowers fall in first)
  { echo "when traced level_start"; echo "2 move 600 440"; shot 640 board_hint; } >"$work/s.txt"
  board "$work/s.txt" 650
  # The classic mode: the oil lamp burning over the board, then the pause
  # menu dropped down over it (Escape; 5 rows of 50 ms).
  { echo "when traced level_start"; echo "2 move 600 440"; shot 100 board_classic; echo "110 key Escape";
    shot 135 board_pause; } >"$work/s.txt"
  board "$work/s.txt" 140 --mode classic
  # The duel against the computer: the player's prompt, then the computer's
  # move with the panel reading "wait" (the player's moves by --bot best).
  { echo "when traced level_start"; echo "2 move 600 440"; shot 8 board_duel; echo "when traced move";
    shot 40 board_duel_wait; } >"$work/s.txt"
  board "$work/s.txt" 120 --mode duel_computer --bot best
  # The colour-blind mode, switched on over a board already shown (Escape,
  # the pause menu's Options, Display, its check box, then both dialogs
  # closed): the dialog with the board behind it changed at once, and the
  # board in its high-contrast pictures. Last of the board's runs, since the
  # option stays on in their per-user folder.
  {
    echo "when traced level_start"; echo "2 move 600 440"; echo "5 key Escape"
    echo "when shown GS_MiniMenu"; click 30 320 246
    echo "when shown GS_Options"; click 20 225 324
    echo "when shown GS_OptionsDisplay"; click 20 194 250; echo "28 move 300 250"; shot 30 options_colourblind
    click 31 320 324
    echo "when closed GS_OptionsDisplay"; click 20 415 324
    echo "when closed GS_Options"; echo "5 move 600 440"; shot 40 board_colourblind
  } >"$work/s.txt"
  board "$work/s.txt" 450
  # The statistics screen of each mode, after a small level the bot plays
  # (its test takes the pictures).
  QV_SOURCE_DIR="$root" QV_TOOL="$tool" bash "$root/tests/board/stat_screens.sh" "$game" "$content" "$out" \
    >/dev/null
  # The map: a player who has won relax levels 1 to 5 (the first artifact
  # with them; the map end-to-end test plays them), on both pages, a
  # level's records and the trophy room with the artifact's description.
  python3 "$root/tests/app/play_map.py" --game "$game" --content "$content" --keep "$work/map" >/dev/null
  cp "$work/map/story.png" "$out/story.png"
  stone=$(cd "$root/tools/content" && python3 -c 'import map_layout as L; print("%d %d" % L.level_positions()[2])')
  {
    echo "whenever shown GS_HowToPlay"; echo "20 key Escape"
    echo "when shown GS_Main"; click 40 320 250
    echo "when shown GS_Map"; echo "40 move 600 300"; shot 70 map_page1; click 75 405 454; shot 100 map_page2
    click 105 245 454; click 140 $stone
    echo "when shown GS_LevelRecords"; shot 40 records; echo "45 key Escape"
    echo "when closed GS_LevelRecords"; click 30 565 30
    echo "when shown GS_Trophies"; echo "40 move 560 300"; click 41 80 170; shot 80 trophies
  } >"$work/s.txt"
  "$game" --app-dir "$content" --user-data "$work/map/user" --seed 1 --fixed-step 20 --frames 1200 \
    --input "$work/s.txt" >/dev/null
else
  cp -r "$content" "$work/app"
  plain="$work/game.xml"
  sed -E 's/type="GameScreen[A-Za-z]+"/type="GameScreen"/' "$root/content/game.xml" >"$plain"
  # variant SED-EXPRESSION: the stand-in game description with one change
  variant() {
    sed -E "$1" "$plain" >"$work/variant.xml"
    "$tool" encipher --key-role game "$work/variant.xml" "$work/app/data/ini/Zintara.ini"
  }
  variant 's/x/x/'
  shot 40 splash_logos >"$work/s.txt"
  run "$work/app" "$work/s.txt" 41
  variant 's/splashlogosgs="GS_SplashLogos"//'
  shot 40 splash >"$work/s.txt"
  run "$work/app" "$work/s.txt" 41
  variant 's/splashlogosgs="GS_SplashLogos" splashgs="GS_Splash"//'
  { echo "when shown GS_Main"; shot 10 main; } >"$work/s.txt"
  run "$work/app" "$work/s.txt" 200
  for pair in GS_ComingSoon:coming_soon GS_NewUser:new_user GS_QueryNotUniqueName:query_name \
    GS_UserProfiles:profiles GS_QueryDeleteProfile:delete_profile GS_Options:options GS_Quit:quit \
    GS_HowToPlay:how_to_play GS_GameLoose:game_loose; do
    screen="${pair%%:*}"
    variant "s/splashlogosgs=\"GS_SplashLogos\" splashgs=\"GS_Splash\"//; s/gamescreenname=\"GS_HowToPlay\"/gamescreenname=\"$screen\"/"
    { echo "when shown GS_Main"; click 5 320 372; echo "when shown $screen"; shot 30 "${pair##*:}"; } >"$work/s.txt"
    run "$work/app" "$work/s.txt" 200
  done
fi
ls "$out"/*.png >/dev/null
