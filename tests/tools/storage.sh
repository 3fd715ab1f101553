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

# params prints name, tab, value in order.
check "params" "$(printf 'a\tx\\y\nb\t2')" "$("$tool" params 'a={x\y}\b=2\flag')"

# unknown commands and options are errors, not crashes.
"$tool" frobnicate > /dev/null 2>&1
check "unknown command" 1 $?
"$tool" pack --bogus a b > /dev/null 2>&1
check "unknown option" 1 $?

finish
