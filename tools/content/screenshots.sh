#!/usr/bin/env bash
# Captures every screen of the bundled shell into docs/screenshots/ by running
# the game headless (SDL's dummy video and audio drivers) with input scripts
# whose "FRAME screenshot FILE" lines take the pictures.
#
#   tools/content/screenshots.sh [--stand-in] [--build DIR] [--out DIR]
#
# Default: the bundled content as built (DIR/content, DIR = build-asan) and
# the first run's flow: logos, splash, main menu, players with the
# new-player dialog, a name that is taken, the main menu with a player,
# coming soon, players with the delete query, options, quit. This needs the
# standard screen classes.
#
# --stand-in: every screen type is replaced by the plain "GameScreen" (in a
# copy of the content), so the pictures show the layout without the screen
# classes' behaviour: the main menu's "Play classic" button is pointed at
# each dialog in turn and clicked, the splash screens are shown alone.
#
# Exit 0 when every picture was written, 1 otherwise.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$root/build-asan"
out="$root/docs/screenshots"
standin=0
while [ $# -gt 0 ]; do
  case "$1" in
    --stand-in) standin=1 ;;
    --build) build="$2"; shift ;;
    --out) out="$2"; shift ;;
    *) echo "usage: $0 [--stand-in] [--build DIR] [--out DIR]" >&2; exit 2 ;;
  esac
  shift
done
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
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

# run APPDIR SCRIPT FRAMES: one run on a fresh per-user folder.
run() {
  rm -rf "$work/user" && mkdir -p "$work/user"
  "$game" --app-dir "$1" --user-data "$work/user" --seed 1 --fixed-step 10 --frames "$3" --input "$2" >/dev/null
}

# click X Y at frame F (move, press, release on three frames)
click() { printf '%d move %d %d\n%d down %d %d\n%d up %d %d\n' "$1" "$2" "$3" $(($1 + 1)) "$2" "$3" $(($1 + 2)) "$2" "$3"; }

if [ $standin -eq 0 ]; then
  {
    echo "when shown GS_SplashLogos"
    echo "40 screenshot $out/splash_logos.png"
    click 50 320 240
    echo "when shown GS_NewUser"
    echo "5 text Anna"
    echo "8 screenshot $out/new_user.png"
    click 10 235 302
    click 40 320 432   # options ...
    echo "when shown GS_Options"
    echo "10 screenshot $out/options.png"
    click 20 320 374
    click 40 320 172   # coming soon
    echo "when shown GS_ComingSoon"
    echo "10 screenshot $out/coming_soon.png"
    click 20 320 302
    echo "40 screenshot $out/main.png"
    click 50 110 432   # players: select Anna, delete
    echo "when shown GS_UserProfiles"
    click 10 320 160
    echo "20 screenshot $out/profiles.png"
    click 30 320 314
    echo "when shown GS_QueryDeleteProfile"
    echo "10 screenshot $out/delete_profile.png"
    click 20 405 302   # no
    click 40 405 374   # cancel
    click 70 530 432   # quit
    echo "when shown GS_Quit"
    echo "10 screenshot $out/quit.png"
    click 20 235 302
  } >"$work/flow.txt"
  run "$content" "$work/flow.txt" 3000
  # the splash and the refused name are not on the first run's way
  echo "(splash.png and query_name.png: use --stand-in)" >&2
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
  printf '40 screenshot %s\n' "$out/splash_logos.png" >"$work/s.txt"
  run "$work/app" "$work/s.txt" 41
  variant 's/splashlogosgs="GS_SplashLogos"//'
  printf '40 screenshot %s\n' "$out/splash.png" >"$work/s.txt"
  run "$work/app" "$work/s.txt" 41
  variant 's/splashlogosgs="GS_SplashLogos" splashgs="GS_Splash"//'
  printf 'when shown GS_Main\n10 screenshot %s\n' "$out/main.png" >"$work/s.txt"
  run "$work/app" "$work/s.txt" 200
  for pair in GS_ComingSoon:coming_soon GS_NewUser:new_user GS_QueryNotUniqueName:query_name \
    GS_UserProfiles:profiles GS_QueryDeleteProfile:delete_profile GS_Options:options GS_Quit:quit; do
    screen="${pair%%:*}"
    variant "s/splashlogosgs=\"GS_SplashLogos\" splashgs=\"GS_Splash\"//; s/gamescreenname=\"GS_ComingSoon\"/gamescreenname=\"$screen\"/"
    { echo "when shown GS_Main"; click 5 320 172; echo "when shown $screen"; echo "10 screenshot $out/${pair##*:}.png"; } \
      >"$work/s.txt"
    run "$work/app" "$work/s.txt" 200
  done
fi
ls "$out"/*.png >/dev/null
