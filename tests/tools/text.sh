#!/usr/bin/env bash
# The data tool's eval, expand and format commands, run as a content author would.
source "$(dirname "$0")/lib.sh"

check eval-priority 14 "$("$tool" eval '2+3*4')"
check eval-power 64 "$("$tool" eval '2^3^2')"
check eval-unary 4 "$("$tool" eval -- '-2^2')"
check eval-signs 3 "$("$tool" eval -- '- -3')"
check eval-decrement "Error in math expression: Syntax error: function or operand has too few arguments" \
  "$("$tool" eval -- '--3' 2>&1)"
check eval-sign-after-postfix "Error in math expression: Can not find operand/function" "$("$tool" eval '3!-1' 2>&1)"
check eval-float 0.333333343 "$("$tool" eval '1/3')"
check eval-pi 3.14159274 "$("$tool" eval 'pi')"
check eval-round 2 "$("$tool" eval 'round(2.5)')"
check eval-strings 1 "$("$tool" eval "'b' in 'a,b,c'")"
check eval-vars 7.5 "$("$tool" eval --var X=2.5 --var y=3 'x*y')"
"$tool" eval --var x=1e300 'x' > out.txt 2> err.txt
check eval-var-range "1 quorvanel-data eval: --var x needs a number in the float range, not '1e300'" \
  "$? $(cat err.txt)$(cat out.txt)"
check eval-seed "$("$tool" eval --seed 9 'random')" "$("$tool" eval --seed 9 'random')"
check eval-error "Error in math expression: x two space limited variables/constants" "$("$tool" eval 'x y' 2>&1)"
"$tool" eval 'foo(1)' > out.txt 2> err.txt
check eval-exit "1 Error in math expression: foo is an unknown function" "$? $(cat err.txt)$(cat out.txt)"
check eval-brackets "Error in math expression: Unequal brackets" "$("$tool" eval "$(printf '(%.0s' $(seq 1000))" 2>&1)"
"$tool" eval '(0-3)!' > out.txt 2> err.txt
check eval-factorial-negative "1 Error in math expression: Invalid floating point operation" \
  "$? $(cat err.txt)$(cat out.txt)"
check eval-math-error "Error in math expression: Division by zero" "$("$tool" eval --var x=0 '1/x' 2>&1)"

printf 'a := 2\n// a := 5\n\na*3\n' > prog.txt
check eval-program 6 "$("$tool" eval --program prog.txt)"
printf 'a := 2\na a\n' > bad.txt
check eval-program-error "Error in math expression: a two space limited variables/constants" \
  "$("$tool" eval --program bad.txt 2>&1)"

cat > en.lng <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<language id="en" name="English">
  <strings>
    <string name="hello">Hello</string>
    <string name="greeting">  %HELLO%, %name%  </string>
    <string name="thousand_separator">,</string>
    <string name="time_separator">:</string>
    <string name="loop">x%loop%</string>
  </strings>
</language>
XML
check expand "Hello, Ann! 100% 50% off" \
  "$("$tool" expand --lang en.lng --var name=Ann '%greeting%! 100%% 50% off')"
check expand-unknown "ab" "$("$tool" expand --lang en.lng 'a%nothing%b')"
check expand-dashes "--Hello--" "$("$tool" expand --lang en.lng '--%hello%--')"
check expand-cycle 32 "$("$tool" expand --lang en.lng '%loop%' | tr -d '\n' | wc -c)"
"$tool" expand --lang en.lng '%loop%' 2> err.txt > /dev/null
check expand-cycle-reported 'data error: macro text "%loop%": string "loop" nested deeper than 32 levels' \
  "$(cut -c1-75 err.txt)"
# A 4 KB string naming itself 40 times stops at 64 KiB instead of 16 MB.
{ printf '<language id="b"><string name="s">'; head -c 4000 /dev/zero | tr '\0' y
  for i in $(seq 40); do printf '%%s%%'; done; printf '</string></language>'; } > bomb.lng
check expand-size-cap 65536 "$("$tool" expand --lang bomb.lng '%s%' 2> err.txt | tr -d '\n' | wc -c)"
check expand-size-cap-reported 'data error: macro text "%s%": expansion longer than 65536 bytes; cut there' \
  "$(grep 'longer than' err.txt)"
check format-thousands "-1,234,567" "$("$tool" format --lang en.lng thousands -1234567)"
check format-time "1:05" "$("$tool" format --lang en.lng time 65)"
check format-time-negative "-0:05 -1:01" \
  "$("$tool" format --lang en.lng time -5) $("$tool" format --lang en.lng time -61)"
"$tool" expand --lang missing.lng 'x' > /dev/null 2>&1
check expand-missing-file 1 $?

# Each command's help names its options, accepted values, output and exit codes.
helps() {  # helps COMMAND WORD...: the words the help text lacks
  local command=$1 text missing=""
  shift
  text=$("$tool" "$command" --help)
  for word in "$@"; do
    case "$text" in *"$word"*) ;; *) missing="$missing $word" ;; esac
  done
  echo "$command:$missing"
}
check eval-help "eval:" "$(helps eval --seed --var NAME=VALUE --program 'standard input' TEXT 'exit codes' \
  'Error in math expression: ' '9 significant digits')"
check expand-help "expand:" "$(helps expand --lang --var NAME=VALUE TEXT '%%' 65536 'data error: macro text' \
  'exit codes')"
check format-help "format:" "$(helps format --lang 'thousands|time' 'thousands N' 'time SECONDS' \
  '-1,234,567' '1:05' '-1:01' '32-bit' 'exit codes')"
"$tool" eval --help > /dev/null
check eval-help-exit 0 $?

finish
