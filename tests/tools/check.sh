#!/usr/bin/env bash
# The data tool's check command on a small application folder made here: the
# sound folder passes, and each kind of fault gives its line and exit 1.
source "$(dirname "$0")/lib.sh"

# Media written by Python's standard library: an RGBA PNG, a grey PNG (a
# colour type image resources refuse), a 16-bit mono WAV.
python3 - <<'EOF'
import struct, wave, zlib
def png(path, w, h, colour_type, channels):
    raw = b"".join(b"\0" + bytes([200] * (w * channels)) for _ in range(h))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
png("pic.png", 8, 4, 6, 4)
png("atlas.png", 16, 8, 6, 4)
png("grey.png", 8, 4, 0, 1)
with wave.open("tone.wav", "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
    w.writeframes(struct.pack("<h", 1000) * 2205)
EOF

# The application folder: the game description (enciphered) names one
# resource list (enciphered too); data/res and data/fonts hold plain ones.
make_app() {  # make_app FOLDER
  rm -rf "$1"
  mkdir -p "$1/data/ini" "$1/data/img" "$1/data/snd" "$1/data/res" "$1/data/fonts" "$1/data/lists" "$1/lang"
  cp pic.png "$1/data/img/pic.png"
  cp atlas.png "$1/data/fonts/atlas.png"
  cp tone.wav "$1/data/snd/tone.wav"
  cat > "$1/game.xml" <<'EOF'
<game name="Probe" type="ImageGame" image="data\img\pic.png">
 <resourcefiles>
  <resourcefile filename="data\lists\start.xml" loadmode="synch"/>
 </resourcefiles>
</game>
EOF
  cat > "$1/start.xml" <<'EOF'
<resources><content>
 <resource type="ImageResource" name="start_pic" file="data\img\pic.png" format="png"/>
</content></resources>
EOF
  cat > "$1/data/res/media.xml" <<'EOF'
<resources><content>
 <resource type="ImageResource" name="pic" file="data\img\pic.png" format="png"/>
 <resource type="SoundResource" name="tone" file="data\snd\tone.wav"/>
</content></resources>
EOF
  # Glyphs of " ", "P", "a", "l", "y" side by side, 3 x 8 pixels each.
  cat > "$1/data/fonts/fonts.xml" <<'EOF'
<resources><content>
 <resource type="FontResource" name="font_small" file="data\fonts\atlas.png" format="png">
  <symbols>
   <symbol scancode="32" left="0" top="0" width="3" height="8"/>
   <symbol scancode="80" left="3" top="0" width="3" height="8"/>
   <symbol scancode="97" left="6" top="0" width="3" height="8"/>
   <symbol scancode="108" left="9" top="0" width="3" height="8"/>
   <symbol scancode="121" left="12" top="0" width="3" height="8"/>
  </symbols>
 </resource>
</content></resources>
EOF
  cat > "$1/lang/default.lng" <<'EOF'
<language id="en" name="English">
 <strings>
  <string name="MenuPlay">Play</string>
  <string name="PlayAgain">%MenuPlay% %menuplay%</string>
  <string name="Hello">Play %player_name%</string>
 </strings>
</language>
EOF
  seal "$1"
}
seal() {  # seal FOLDER: encipher the description and the named list again
  "$tool" encipher --key-role game "$1/game.xml" "$1/data/ini/Zintara.ini"
  "$tool" encipher --key-role game "$1/start.xml" "$1/data/lists/start.xml"
}
run_check() {  # run_check FOLDER: output in out.txt, exit code echoed
  "$tool" check "$1" > out.txt 2> err.txt
  echo $?
}

# The sound folder passes with a one-line summary: the description, its
# list, the two lists of data/ and the language file; the resources
# start_pic, pic, tone and font_small; 3 strings; 1 font.
make_app good
check "good exit" 0 "$(run_check good)"
check "good summary" "no problems: 5 files, 4 resources, 3 strings, 1 fonts" "$(cat out.txt)"
check "good stderr empty" "" "$(cat err.txt)"

# A misspelt file name in a resource list: the image decoder's report, under
# the list, and exit 1 with the count on standard error.
make_app typo
sed -i 's/pic.png" format/pic.pgn" format/' typo/data/res/media.xml
check "typo exit" 1 "$(run_check typo)"
check "typo line" \
  'data/res/media.xml: data\img\pic.pgn: no image data (missing or empty file)' "$(cat out.txt)"
check "typo count" "1 problem" "$(cat err.txt)"

# A misspelt sound file and a sound that is no audio: both named.
make_app nosound
sed -i 's/tone.wav/tones.wav/' nosound/data/res/media.xml
check "missing sound exit" 1 "$(run_check nosound)"
check "missing sound line" 1 "$(grep -c '^data/res/media.xml: data\\snd\\tones.wav: the audio file is missing or empty$' out.txt)"
make_app badsound
head -c 60 tone.wav > badsound/data/snd/tone.wav
check "cut sound exit" 1 "$(run_check badsound)"
check "cut sound refused" 1 "$(grep -c '^data/res/media.xml: audio data: WAV refused: the "data" chunk declares 4410 bytes but only 16 follow$' out.txt)"
check "cut sound named" 1 "$(grep -c 'data\\snd\\tone.wav: the audio file cannot be played' out.txt)"

# Damage sweep over the picture: every cut gives a line naming it, none
# crashes, and the sound folder's other resources stay quiet.
for n in 0 8 20 40 60; do
  make_app cut
  head -c $n pic.png > cut/data/img/pic.png
  check "cut picture $n exit" 1 "$(run_check cut)"
  check "cut picture $n named" 0 "$([ "$(grep -c 'data\\img\\pic.png' out.txt)" -ge 1 ]; echo $?)"
  check "cut picture $n only it" 0 "$(grep -vc 'pic.png' out.txt)"
done

# An image in a colour type image resources refuse (grey).
make_app grey
cp grey.png grey/data/img/pic.png
check "grey exit" 1 "$(run_check grey)"
check "grey says why" 0 "$([ "$(grep -c 'data\\img\\pic.png: .*' out.txt)" -ge 1 ]; echo $?)"

# An unknown type: one line (the loader and the type walk agree on it).
make_app type
sed -i 's/SoundResource/SoundResourse/' type/data/res/media.xml
check "unknown type exit" 1 "$(run_check type)"
check "unknown type line" \
  'data/res/media.xml: <resource name="tone">: unknown type "SoundResourse"; nothing is created' "$(cat out.txt)"
# ... also in the enciphered description, at its root.
make_app gametype
sed -i 's/type="ImageGame"/type="ImageGames"/' gametype/game.xml
seal gametype
check "unknown game type exit" 1 "$(run_check gametype)"
check "unknown game type line" 1 \
  "$(grep -c '^data/ini/Zintara.ini: <game name="Probe">: unknown type "ImageGames"; nothing is created$' out.txt)"

# What the engine drops while it loads a list: a registered type that is no
# resource, a name taken in another case; and a by-demand sound whose file is
# missing, which the game would find out only at its first play.
make_app engine
sed -i 's|</content>| <resource type="rect_widget" name="frame"/>\n <resource type="ImageResource" name="PIC" file="data\\img\\pic.png" format="png"/>\n <resource type="SoundResource" name="later" file="data\\snd\\later.wav" loadbydemand="yes"/>\n <resource type="ImageResource" name="raw" file="data\\img\\pic.png"/>\n</content>|' engine/data/res/media.xml
check "engine drops exit" 1 "$(run_check engine)"
check "engine drops lines" 'data/res/media.xml: resource frame: the type "rect_widget" is not a resource; skipped
data/res/media.xml: resource PIC: another resource has this name in another case; this one is dropped
data/res/media.xml: data\snd\later.wav: the audio file is missing or empty
data/res/media.xml: resource raw: no picture can be loaded from "data\img\pic.png" (no "format" given)' "$(cat out.txt)"

# The game object loads from the description as in the game: its bad values
# are reported, and a registered type that is no game is named.
make_app gamevalue
sed -i 's/type="ImageGame"/type="ImageGame" background="dusk"/' gamevalue/game.xml
seal gamevalue
check "game value exit" 1 "$(run_check gamevalue)"
check "game value line" 1 "$(grep -c '^data/ini/Zintara.ini: game@background: .*dusk' out.txt)"
# (A text widget as the root: not a game, and the texts it reads through
# the language are checked for their keys.)
make_app notgame
sed -i 's/type="ImageGame"/type="text_widget" text="%MenuPlay% %Nowhere%"/' notgame/game.xml
seal notgame
check "not a game exit" 1 "$(run_check notgame)"
check "not a game line" 1 "$(grep -c '^data/ini/Zintara.ini: the type "text_widget" is not a game$' out.txt)"
check "read text key line" 1 \
  "$(grep -c '^data/ini/Zintara.ini: text "%MenuPlay% %Nowhere%": %Nowhere% is not defined in the default language$' out.txt)"
check "read text known key" 0 "$(grep -c '%MenuPlay% is not' out.txt)"

# An undefined %KEY% in the language: named with its string; a key a
# --variable declares passes; keys ignore case as the game's lookup does.
make_app key
sed -i 's/%player_name%/%player_nmae%/' key/lang/default.lng
check "undefined key exit" 1 "$(run_check key)"
check "undefined key line" \
  'lang/default.lng: string "Hello": %player_nmae% is not defined in the default language' "$(cat out.txt)"
"$tool" check --variable player_nmae key > out.txt 2>&1
check "declared variable exit" 0 $?
"$tool" check --variable Player_nmae key > out.txt 2>&1
check "variables keep their case" 1 $?

# A character no font has: one line per font and character, naming the first
# string that uses it, however often it is used.
make_app glyph
sed -i 's/>Play</>Plày</; s/Play %player_name%/Plày y %player_name%/' glyph/lang/default.lng
check "missing glyph exit" 1 "$(run_check glyph)"
check "missing glyph line" \
  "data/fonts/fonts.xml: resource font_small: no glyph for 'à' (U+00E0) (first used by string \"MenuPlay\" of lang/default.lng)" \
  "$(cat out.txt)"

# A glyph rectangle outside its atlas (16 x 8).
make_app atlas
sed -i 's/scancode="121" left="12"/scancode="121" left="14"/' atlas/data/fonts/fonts.xml
check "glyph outside exit" 1 "$(run_check atlas)"
check "glyph outside line" \
  "data/fonts/fonts.xml: resource font_small: the glyph of 'y' (U+0079) (14, 0, 3 x 8) lies outside its atlas of 16 x 8" \
  "$(cat out.txt)"

# The game description: plain markup, missing, or naming a list that is not
# there; the engine reads enciphered lists only.
make_app plain
cp plain/game.xml plain/data/ini/Zintara.ini
check "plain description exit" 1 "$(run_check plain)"
check "plain description line" 1 \
  "$(grep -c '^data/ini/Zintara.ini: the game description is plain markup; the game reads it enciphered with the game key$' out.txt)"
make_app nodesc
rm nodesc/data/ini/Zintara.ini
check "no description exit" 1 "$(run_check nodesc)"
check "no description line" "data/ini/Zintara.ini: the game description is missing or empty" "$(cat out.txt)"
make_app plainlist
cp plainlist/start.xml plainlist/data/lists/start.xml
check "plain named list exit" 1 "$(run_check plainlist)"
check "plain named list line" \
  "data/lists/start.xml: the resource list is plain markup; the engine reads it enciphered with the game key" \
  "$(cat out.txt)"
make_app nolist
rm nolist/data/lists/start.xml
check "missing list exit" 1 "$(run_check nolist)"
check "missing list line" "data/lists/start.xml: the resource list is missing or empty" "$(cat out.txt)"

# A language file that does not parse.
make_app badlang
printf '<language><strings>' > badlang/lang/default.lng
check "bad language exit" 1 "$(run_check badlang)"
check "bad language line" 1 "$(grep -c '^lang/default.lng: language file is not a readable storage file' out.txt)"

# The files of Languages/ against the default language: a complete one
# passes (and is counted), a file of another extension is not read.
make_lang() {  # make_lang FOLDER: the sound folder with a complete translation
  make_app "$1"
  mkdir -p "$1/Languages"
  cat > "$1/Languages/Pally.lng" <<'EOF2'
<language id="pl" name="Pally">
 <strings>
  <string name="MenuPlay">Pay</string>
  <string name="PlayAgain">%MenuPlay% ly %menuplay%</string>
  <string name="Hello">aPly %player_name%</string>
 </strings>
</language>
EOF2
  echo "not a language" > "$1/Languages/notes.txt"
}
make_lang lang
check "language file exit" 0 "$(run_check lang)"
check "language file summary" "no problems: 6 files, 4 resources, 3 strings, 1 fonts" "$(cat out.txt)"

# Each fault of a language file gives its line under the file: a default
# string it lacks, a string the default lacks, a macro of the default's
# text it dropped, a key nothing defines, a character no font has, no name.
make_lang langmissing
sed -i '/name="Hello"/d' langmissing/Languages/Pally.lng
check "missing string exit" 1 "$(run_check langmissing)"
check "missing string line" \
  'Languages/Pally.lng: string "Hello" of lang/default.lng is missing; the default text shows' "$(cat out.txt)"
make_lang langextra
sed -i 's|</strings>|  <string name="Extra">Pa</string>\n </strings>|' langextra/Languages/Pally.lng
check "extra string exit" 1 "$(run_check langextra)"
check "extra string line" \
  'Languages/Pally.lng: string "Extra" is not in lang/default.lng; nothing asks for it' "$(cat out.txt)"
make_lang langmacro
sed -i 's|aPly %player_name%|aPly|' langmacro/Languages/Pally.lng
check "dropped macro exit" 1 "$(run_check langmacro)"
check "dropped macro line" \
  'Languages/Pally.lng: string "Hello": %player_name% of the default text is missing' "$(cat out.txt)"
make_lang langkey
sed -i 's|ly %menuplay%|ly %menuplay% %Nowhere%|' langkey/Languages/Pally.lng
check "undefined key in a language exit" 1 "$(run_check langkey)"
check "undefined key in a language line" \
  'Languages/Pally.lng: string "PlayAgain": %Nowhere% is not defined in the default language' "$(cat out.txt)"
make_lang langglyph
sed -i 's|>Pay<|>Päy<|' langglyph/Languages/Pally.lng
check "language glyph exit" 1 "$(run_check langglyph)"
check "language glyph line" \
  "data/fonts/fonts.xml: resource font_small: no glyph for 'ä' (U+00E4) (first used by string \"MenuPlay\" of Languages/Pally.lng)" \
  "$(cat out.txt)"
make_lang langname
sed -i 's| name="Pally"||' langname/Languages/Pally.lng
check "nameless language exit" 1 "$(run_check langname)"
check "nameless language line" \
  'Languages/Pally.lng: the language has no "name"; the options show it without one' "$(cat out.txt)"
# A language file cut short anywhere: one line that it is unreadable, or
# the strings the cut lost; never silence.
for n in 0 30 90 150; do
  make_lang langcut$n
  head -c $n lang/Languages/Pally.lng > langcut$n/Languages/Pally.lng
  check "cut language $n exit" 1 "$(run_check langcut$n)"
  check "cut language $n named" 0 "$(grep -vc '^Languages/Pally.lng: ' out.txt)"
done

# The shipped pair: the German file has every English string, and each
# string taken out of it is named (the sound folder's fonts lack most of
# their characters, so only the language lines count here).
source_dir=${QV_SOURCE_DIR:?QV_SOURCE_DIR names the source folder}
make_app shipped
mkdir -p shipped/Languages
cp "$source_dir/content/lang/default.lng" shipped/lang/default.lng
cp "$source_dir/content/Languages/Deutsch.lng" shipped/Languages/Deutsch.lng
run_check shipped > /dev/null
check "shipped language lines" 0 "$(grep -c '^Languages/' out.txt)"
for key in thousand_separator welcome OptionsLanguage DuelWinner text_history14; do
  rm -rf damaged && cp -r shipped damaged
  sed -i "/<string name=\"$key\">/d" damaged/Languages/Deutsch.lng
  run_check damaged > /dev/null
  check "shipped without $key" \
    "Languages/Deutsch.lng: string \"$key\" of lang/default.lng is missing; the default text shows" \
    "$(grep '^Languages/' out.txt)"
done

# Usage: no folder, a file for a folder; help names the option and the files.
"$tool" check > /dev/null 2>&1
check "no folder exit" 1 $?
"$tool" check pic.png > /dev/null 2> err.txt
check "file for folder exit" 1 $?
check "file for folder message" 1 "$(grep -c 'not a folder: pic.png' err.txt)"
help=$("$tool" check --help)
for word in --variable APPDIR data/res/ data/fonts/ lang/default.lng Languages/ Zintara.ini "exit codes"; do
  check "help mentions $word" 0 "$(grep -qF -- "$word" <<< "$help"; echo $?)"
done

finish
