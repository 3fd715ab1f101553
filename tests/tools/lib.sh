# Shared by the data tool's shell tests; each sources it first. It makes a
# scratch folder (removed on exit), enters it, and counts failed checks.
set -u
tool=${QV_TOOL:?QV_TOOL names the data tool}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fails=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: expected [$2], got [$3]"
    fails=$((fails + 1))
  fi
}
# Prints "WxH colourtype bitdepth" and then one word per row of the image,
# a letter per pixel from the legend (r,g,b=letter ...), "?" for others.
rows() {
  python3 - "$@" <<'PY'
import struct, sys, zlib
d = open(sys.argv[1], 'rb').read()
legend = dict((tuple(int(v) for v in k.split(',')), c) for k, c in (a.split('=') for a in sys.argv[2:]))
pos, idat = 8, b''
while pos < len(d):
    n, = struct.unpack('>I', d[pos:pos + 4]); t = d[pos + 4:pos + 8]; c = d[pos + 8:pos + 8 + n]; pos += 12 + n
    if t == b'IHDR': w, h, depth, ct = struct.unpack('>IIBB', c[:10])
    if t == b'IDAT': idat += c
raw, bpp = zlib.decompress(idat), (4 if ct == 6 else 3)
stride, prev, out = w * bpp, bytearray(w * bpp), ['%dx%d %d %d' % (w, h, ct, depth)]
for y in range(h):
    f, row = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = row[i - bpp] if i >= bpp else 0
        b, cc = prev[i], (prev[i - bpp] if i >= bpp else 0)
        if f == 1: row[i] = (row[i] + a) & 255
        elif f == 2: row[i] = (row[i] + b) & 255
        elif f == 3: row[i] = (row[i] + (a + b) // 2) & 255
        elif f == 4:
            p = a + b - cc; pa, pb, pc = abs(p - a), abs(p - b), abs(p - cc)
            row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else cc)) & 255
    prev = row
    out.append(''.join(legend.get(tuple(row[x * bpp:x * bpp + 3]), '?') for x in range(w)))
print(' '.join(out))
PY
}

finish() {  # the exit status of the script
  [ "$fails" -eq 0 ] && echo "all checks passed"
  exit $((fails > 0))
}
# render with ARGS must fail: exit 1, one line on standard error naming
# WORD, and no err.png written.
fail_case() {  # fail_case NAME WORD ARGS...
  local name=$1 word=$2
  shift 2
  rm -f err.png
  "$tool" render "$@" 2> err.txt
  check "$name exit" 1 $?
  check "$name one line" 1 "$(wc -l < err.txt)"
  grep -q -- "$word" err.txt
  check "$name says $word" 0 $?
  check "$name writes nothing" no "$([ -e err.png ] && echo yes || echo no)"
}
