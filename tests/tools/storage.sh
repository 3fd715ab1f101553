#!/usr/bin/env bash
# The data tool's storage commands, run as a content author would.
source "$(dirname "$0")/lib.sh"

# pack, then cat returns each file, through the package and with either slash.
mkdir -p src/images src/ini
printf 'png bytes' > src/images/a.png
printf '<game/>' > src/ini/Zintara.ini
head -c 300000 /dev/urandom > src/images/noise.bin
"$tool" pack src data.tgd
check "pack exit" 0 $?
check "cat entry" "png bytes" "$("$tool" cat 'data\images\a.png')"
check "cat forward slashes" "<game/>" "$("$tool" cat data/ini/zintara.ini)"
"$tool" cat data/images/noise.bin > noise.out
cmp -s noise.out src/images/noise.bin
check "cat binary" 0 $?

# a truncated package gives exit 1, the data error and the tool's line.
head -c 200 data.tgd > cut.tgd
"$tool" cat 'cut\images\a.png' > /dev/null 2> err.txt
check "truncated exit" 1 $?
check "truncated two lines" 2 "$(wc -l < err.txt)"
check "truncated data error" 1 "$(grep -c '^data error: .*cut.tgd: is not a readable package' err.txt)"
"$tool" cat nothing/here.txt > /dev/null 2>&1
check "missing exit" 1 $?

# encipher and decipher round trip, by key and by role.
printf 'secret markup' > plain.txt
"$tool" encipher --key ABCDEFGHIJKLMNO plain.txt enc.txt
check "hex length" 26 "$(wc -c < enc.txt)"
check "round trip" "secret markup" "$("$tool" decipher --key ABCDEFGHIJKLMNO enc.txt)"
check "role round trip" "secret markup" \
  "$(printf 'secret markup' | "$tool" encipher --key-role profiles | "$tool" decipher --key-role profiles)"
"$tool" encipher --key-role nobody < plain.txt > /dev/null 2>&1
check "bad role exit" 1 $?

# decipher refuses what is not the hexadecimal form; blanks and line breaks
# between digits are fine.
printf 'not hex at all' > junk.txt
"$tool" decipher --key ABCDEFGHIJKLMNO junk.txt > /dev/null 2> err.txt
check "decipher junk exit" 1 $?
check "decipher junk says where" 1 "$(grep -c "not hexadecimal text: 'n' at offset 0" err.txt)"
printf 'zz zz' | "$tool" decipher --key ABCDEFGHIJKLMNO > /dev/null 2>&1
check "decipher zz exit" 1 $?
printf 'ABC' | "$tool" decipher --key ABCDEFGHIJKLMNO > /dev/null 2> err.txt
check "decipher odd exit" 1 $?
check "decipher odd says so" 1 "$(grep -c 'odd number of digits (3)' err.txt)"
head -c 64 /dev/urandom | tr -d '0-9A-Fa-f \r\n\t' | head -c 1 > rnd.txt
printf '\x01' >> rnd.txt
"$tool" decipher --key ABCDEFGHIJKLMNO rnd.txt > /dev/null 2>&1
check "decipher random bytes exit" 1 $?
{ head -c 10 enc.txt; printf '\n'; tail -c +11 enc.txt | tr 'A-F' 'a-f'; printf '\n'; } > wrapped.txt
check "decipher wrapped lower case" "secret markup" "$("$tool" decipher --key ABCDEFGHIJKLMNO wrapped.txt)"
: > empty.txt
check "decipher empty" "" "$("$tool" decipher --key ABCDEFGHIJKLMNO empty.txt)"

# a folder is no input file.
mkdir -p afolder
for cmd in encipher decipher; do
  "$tool" $cmd --key ABCDEFGHIJKLMNO afolder > /dev/null 2> err.txt
  check "$cmd folder exit" 1 $?
  check "$cmd folder message" 1 "$(grep -c 'afolder is a folder, not a file' err.txt)"
done
"$tool" eval --program afolder > /dev/null 2> err.txt
check "eval folder exit" 1 $?
check "eval folder message" 1 "$(grep -c 'afolder is a folder, not a file' err.txt)"

# pack dates each entry with its file's time (1980-01-00 is no date).
mkdir -p dated
printf 'x' > dated/f.txt
touch -d '2021-03-04 05:06:08' dated/f.txt
"$tool" pack dated dated.tgd
check "pack dated exit" 0 $?
check "pack entry time" "2021 3 4 5 6 8" "$(python3 -c '
import sys, zipfile
print(*zipfile.ZipFile(sys.argv[1]).infolist()[0].date_time)' dated.tgd)"
touch -d '1975-06-01 12:00:00' dated/f.txt
"$tool" pack dated old.tgd
check "pack time before 1980" "1980 1 1 0 0 0" "$(python3 -c '
import sys, zipfile
print(*zipfile.ZipFile(sys.argv[1]).infolist()[0].date_time)' old.tgd)"

# numbers too large for 32 bits get one message, whatever their length.
for n in 4294967296 99999999999 123456789012345678 1234567890123456789012345; do
  "$tool" format --lang none thousands "$n" > /dev/null 2> err.txt
  check "range message for $n" "quorvanel-data format: $n is outside the 32-bit range" "$(cat err.txt)"
done
"$tool" format --lang none thousands 12x > /dev/null 2> err.txt
check "not a number" "quorvanel-data format: N must be a whole number, not '12x'" "$(cat err.txt)"

# every storage command's help names its options.
for word in --key --key-role IN OUT "exit codes"; do
  for cmd in encipher decipher; do
    "$tool" $cmd --help | grep -q -- "$word"
    check "$cmd help mentions $word" 0 $?
  done
done
for pair in "pack DIR" "pack OUT.tgd" "pack modification time" "cat PATH" "cat data error" \
  "params TEXT" "params tab" "pack exit codes" "cat exit codes" "params exit codes"; do
  "$tool" ${pair%% *} --help | grep -q -- "${pair#* }"
  check "help: $pair" 0 $?
done

# params prints name, tab, value in order.
check "params" "$(printf 'a\tx\\y\nb\t2')" "$("$tool" params 'a={x\y}\b=2\flag')"

# unknown commands and options are errors, not crashes.
"$tool" frobnicate > /dev/null 2>&1
check "unknown command" 1 $?
"$tool" pack --bogus a b > /dev/null 2>&1
check "unknown option" 1 $?

finish
