#!/usr/bin/env bash
# Regenerates every generated asset under content/ from the scripts in
# tools/content/, deterministically (fixed seeds, no time stamps), then
# checks the results. Installs the Debian packages the generators need,
# skipping what is already there.
# Usage: tools/content/make-assets.sh [--no-install] [--sheet FILE.png]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
data="$root/content/data"

install=1
sheet=""
while [ $# -gt 0 ]; do
  case "$1" in
    --no-install) install=0 ;;
    --sheet) sheet="$2"; shift ;;
    *) echo "usage: $0 [--no-install] [--sheet FILE.png]" >&2; exit 2 ;;
  esac
  shift
done

packages=(python3 python3-pil python3-numpy python3-cairo fluidsynth fluid-soundfont-gm vorbis-tools sox
  fonts-dejavu-core fonts-comfortaa)
if [ $install -eq 1 ]; then
  missing=()
  for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 -y --no-install-recommends \
      install "${missing[@]}"
  fi
fi

# Debian's interpreter, where python3-pil, -numpy and -cairo live (not a
# python3 of a virtual environment that may come first on PATH).
py=/usr/bin/python3
cd "$here"
export PYTHONHASHSEED=0
"$py" make_title.py "$data/img/title.png"
"$py" make_board.py "$data/img/board"
"$py" make_board_contrast.py "$data/img/board/colourblind"
"$py" make_effects.py "$data/img/board"
"$py" make_hud.py "$data/img/board"
"$py" make_pause.py "$data"
"$py" make_ui.py "$data/img/ui"
"$py" make_map.py "$data/img/map"
"$py" make_icon.py "$root/content/install/icons"
"$py" make_fonts.py "$data/fonts"
"$py" make_sounds.py "$data/snd"
"$py" make_music.py "$data/music"
"$py" make_levels.py "$data/levels"
"$py" make_lists.py "$data"
"$py" make_shell.py "$root/content/game.xml"
"$py" check_assets.py "$root/content"
if [ -n "$sheet" ]; then
  "$py" make_sheet.py "$data" "$sheet"
fi
