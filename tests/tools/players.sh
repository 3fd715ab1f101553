#!/usr/bin/env bash
# The data tool's players command: a data folder's per-user files decoded.
source "$(dirname "$0")/lib.sh"

mkdir data
printf '<userprofiles current_user_profile_name="Anna"><userprofile name="Anna"/></userprofiles>' |
  "$tool" encipher --key-role profiles - data/users.dat
printf '<options><ShowHints>no</ShowHints></options>' | "$tool" encipher --key-role options - data/options
out=$("$tool" players data)
check "ok exit" 0 $?
check "profiles ok" "users.dat: ok" "$(sed -n 1p <<< "$out")"
check "profiles document" '<userprofiles current_user_profile_name="Anna"><userprofile name="Anna"/></userprofiles>' \
  "$(sed -n 2p <<< "$out")"
check "records missing" "records.dat: missing" "$(sed -n 3p <<< "$out")"
check "high scores missing" "highscores.dat: missing" "$(sed -n 4p <<< "$out")"
check "options document" "<options><ShowHints>no</ShowHints></options>" "$(sed -n 6p <<< "$out")"
check "line count" 6 "$(wc -l <<< "$out")"

# A damaged file is named with its reason and left where it is; kept copies
# are listed.
printf 'garbage' > data/records.dat
printf 'old' > data/records.dat.damaged-1
out=$("$tool" players --only records.dat data)
check "damaged exit" 2 $?
check "damaged line" 1 "$(grep -c '^records.dat: damaged: cannot be deciphered or does not parse' <<< "$out")"
check "kept copy" "records.dat.damaged-1: kept damaged copy, 3 bytes" "$(sed -n 2p <<< "$out")"
check "left in place" "garbage" "$(cat data/records.dat)"
printf '<other/>' > data/highscores.dat
check "other root" 'highscores.dat: damaged: holds "other" where "highscores" was expected' \
  "$("$tool" players --only highscores.dat data)"

"$tool" players --only nothing data > /dev/null 2>&1
check "bad --only exit" 1 $?
"$tool" players no/such/folder > /dev/null 2>&1
check "no folder exit" 1 $?
for word in --only DATADIR "exit codes" damaged missing; do
  "$tool" players --help | grep -q -- "$word"
  check "help mentions $word" 0 $?
done
finish
