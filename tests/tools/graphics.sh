#!/usr/bin/env bash
# The data tool's blend and fill commands, run as a content author would.
source "$(dirname "$0")/lib.sh"
# Prints the pixels of a PNG written by the tool as r,g,b[,a] items.
pixels() {
  python3 - "$1" <<'PY'
import struct, sys, zlib
d = open(sys.argv[1], 'rb').read()
pos, idat = 8, b''
while pos < len(d):
    n, = struct.unpack('>I', d[pos:pos + 4]); t = d[pos + 4:pos + 8]; c = d[pos + 8:pos + 8 + n]; pos += 12 + n
    if t == b'IHDR': w, h, _, ct = struct.unpack('>IIBB', c[:10])
    if t == b'IDAT': idat += c
raw, bpp, out = zlib.decompress(idat), (4 if ct == 6 else 3), []
for y in range(h):
    row = raw[y * (w * bpp + 1):(y + 1) * (w * bpp + 1)]
    assert row[0] == 0, 'filtered rows are not expected for tiny images'
    out += [','.join(str(v) for v in row[1 + x * bpp:1 + (x + 1) * bpp]) for x in range(w)]
print(' '.join(out))
PY
}

# Source: half-transparent white and a clear pixel (RGBA); destination RGB;
# mask: opaque and quarter alpha.
echo iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAYAAAD0In+KAAAAEUlEQVR4nGP4//9/AycnJwMAF8UDmQsNYFUAAAAASUVORK5CYII= | base64 -d > src.png
echo iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAIAAAB7QOjdAAAAD0lEQVR4nGM4kcIgJ8IFAAc3AWkWS7KuAAAAAElFTkSuQmCC | base64 -d > dst.png
echo iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAYAAAD0In+KAAAAD0lEQVR4nGNgYGD4D8QOAAVEAUD7iyXJAAAAAElFTkSuQmCC | base64 -d > mask.png

"$tool" blend --mode normal --opacity 255 src.png dst.png out.png
check "blend exit" 0 $?
"$tool" fill --color 0xFF0000FF --mask mask.png --mode normal --opacity 255 dst.png fill.png
check "fill exit" 0 $?
"$tool" blend --mode addition --opacity 0 --at -1,0 src.png dst.png zero.png
check "opacity 0 exit" 0 $?
"$tool" fill --color 0xFF0000FF --mask mask.png --mode overlay --opacity 0 dst.png fillzero.png
check "fill opacity 0 exit" 0 $?
if command -v python3 > /dev/null; then
  # 200 + floor((255 - 200) * 128 / 256) = 227 and so on; a clear pixel leaves the destination.
  check "blend pixels" "227,177,127 30,20,10" "$(pixels out.png)"
  # Opaque mask pixel takes the colour; alpha 64 moves a quarter of the way, rounding down.
  check "fill pixels" "0,0,255 22,15,71" "$(pixels fill.png)"
  check "opacity 0 draws nothing" "200,100,0 30,20,10" "$(pixels zero.png)"
  # Overlay at strength 0 would still darken (30 -> 29); opacity 0 paints nothing.
  check "fill opacity 0 paints nothing" "200,100,0 30,20,10" "$(pixels fillzero.png)"
  # The colour's alpha 0x80 halves the strength: f = 128 * 255 >> 8 = 127 on
  # the opaque mask pixel (200 + floor(127 * -200 / 256) = 100, ...) and
  # 128 * 64 >> 8 = 32 on the quarter one (30 + floor(32 * -30 / 256) = 26, ...).
  "$tool" fill --color 0x800000FF --mask mask.png --mode normal --opacity 255 dst.png half.png
  check "fill half-alpha colour exit" 0 $?
  check "fill half-alpha colour pixels" "100,50,126 26,17,40" "$(pixels half.png)"
  "$tool" fill --color 0x000000FF --mask mask.png --mode normal --opacity 255 dst.png clear.png
  check "fill clear colour paints nothing" "200,100,0 30,20,10" "$(pixels clear.png)"
fi

# Help texts name every option and the accepted values.
blendHelp=$("$tool" blend --help)
check "blend --help exit" 0 $?
for word in --mode --opacity --at normal screen overlay linearlight addition maxopaque "exit status"; do
  case "$blendHelp" in *"$word"*) ;; *) check "blend --help mentions $word" yes no ;; esac
done
fillHelp=$("$tool" fill --help)
check "fill --help exit" 0 $?
for word in --color --mask --mode --opacity --at 0xAARRGGBB maxopaque "exit status"; do
  case "$fillHelp" in *"$word"*) ;; *) check "fill --help mentions $word" yes no ;; esac
done

# Bad input: exit 1 and one line on standard error, never a crash.
for args in "--mode glow --opacity 10 src.png dst.png o.png" \
            "--mode normal --opacity 300 src.png dst.png o.png" \
            "--mode normal --opacity 10 --at 3 src.png dst.png o.png" \
            "--mode normal --opacity 10 src.png missing.png o.png" \
            "--mode normal --opacity 10 src.png dst.png"; do
  # shellcheck disable=SC2086
  "$tool" blend $args > /dev/null 2> err.txt
  check "blend $args exit" 1 $?
  check "blend $args message lines" 1 "$(wc -l < err.txt)"
done
# A valid PNG of 9000 x 8000 pixels (above the 64 Mi cap) is too large, not unreadable.
python3 - <<'PY'
import struct, zlib
def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
open('huge.png', 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 9000, 8000, 8, 6, 0, 0, 0))
                             + chunk(b'IDAT', zlib.compress(b'\0')) + chunk(b'IEND', b''))
PY
"$tool" blend --mode normal --opacity 10 huge.png dst.png o.png 2> err.txt
check "huge png exit" 1 $?
check "huge png message" "quorvanel-data blend: huge.png is too large (at most 67108864 pixels)" "$(tail -n 1 err.txt)"
check "huge png data error" "data error: huge.png: image of 9000 x 8000 pixels is too large (at most 67108864 pixels)" \
  "$(head -n 1 err.txt)"
head -c 40 src.png > cut.png
"$tool" blend --mode normal --opacity 10 cut.png dst.png o.png 2> err.txt
check "truncated png exit" 1 $?
check "truncated png message" "quorvanel-data blend: cut.png is not a readable PNG image" "$(tail -n 1 err.txt)"
"$tool" fill --color 0xGG --mask mask.png --mode normal --opacity 1 dst.png o.png 2> err.txt
check "bad colour exit" 1 $?

finish
