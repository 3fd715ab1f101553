#!/usr/bin/env bash
# The game installed as a desktop game: `cmake --install` of the build into a
# temporary prefix; the desktop entry and the AppStream metainfo pass their
# validators; every hicolor icon is a PNG of its size; the manual pages
# render; the installed game, started by its desktop entry's command line
# with no options but a frame count, finds its content in share/quorvanel
# and keeps its per-user files in the platform's data folder
# ($XDG_DATA_HOME/TandorGames/Quorvanel), which --user-data still overrides.
#
# usage: install_game.sh BUILD_DIR
set -u
build=${1:?build folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL $*"; fails=$((fails + 1)); }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.txt" 2>&1 || { cat "$work/install.txt"; exit 1; }
share="$prefix/share"
desktop="$share/applications/io.quorvanel.Quorvanel.desktop"
metainfo="$share/metainfo/io.quorvanel.Quorvanel.metainfo.xml"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
  fail "desktop-file-validate is not installed (desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --explain "$metainfo" >"$work/as.txt" 2>&1 || { cat "$work/as.txt"; fail "appstreamcli validate"; }
else
  fail "appstreamcli is not installed (appstream)"
fi

# Each icon: a PNG whose header gives its folder's size.
for size in 16 24 32 48 64 128 256 512; do
  icon="$share/icons/hicolor/${size}x${size}/apps/io.quorvanel.Quorvanel.png"
  got=$(python3 -c 'import struct,sys
d=open(sys.argv[1],"rb").read(24)
print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8] == b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$icon" 2>/dev/null)
  [ "$got" = "${size}x${size}" ] || fail "icon $size: $got"
done

for page in man6/quorvanel.6 man1/quorvanel-data.1; do
  [ -s "$share/man/$page" ] || fail "no manual page $page"
  if command -v man >/dev/null; then
    out=$(MANWIDTH=80 man -l "$share/man/$page" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man $page: $out"
  fi
done

# The desktop entry's command line, from the installed bin/.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "quorvanel" ] || fail "Exec is '$exec_line'"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_DATA_HOME="$work/xdg" HOME="$work/home"
mkdir -p "$HOME"
(cd "$work" && PATH="$prefix/bin:$PATH" $exec_line --frames 40 >"$work/run.txt" 2>&1) ||
  { cat "$work/run.txt"; fail "the installed game did not start from its desktop entry"; }
[ -d "$XDG_DATA_HOME/TandorGames/Quorvanel" ] || fail "no per-user folder in \$XDG_DATA_HOME"
(cd "$work" && "$prefix/bin/quorvanel" --frames 40 --user-data "$work/own" >"$work/run2.txt" 2>&1) ||
  { cat "$work/run2.txt"; fail "the installed game with --user-data"; }
[ -d "$work/own" ] || fail "--user-data was not used"
"$prefix/bin/quorvanel-data" check "$share/quorvanel" >"$work/check.txt" 2>&1 || { cat "$work/check.txt"; fail "the installed content does not pass the check"; }
# The languages come along (the check above held them against the default).
[ -s "$share/quorvanel/Languages/Deutsch.lng" ] || fail "no Languages/Deutsch.lng installed"

[ $fails -eq 0 ] && echo "installed: $(find "$prefix" -type f | wc -l) files, validators and the installed game fine"
exit $((fails > 0))
