#!/usr/bin/env python3
"""Draws the title picture of the bundled content: a small hexagonal board
of flowers. Run once by hand when the picture should change:
    tools/content/make_title.py content/data/img/title.png
"""
import math
import struct
import sys
import zlib

W, H = 368, 330
COLS, ROWS, R = 9, 7, 22.0
COLOURS = [(230, 70, 80), (250, 200, 60), (80, 170, 240), (120, 210, 110), (200, 110, 230), (250, 140, 60)]


def hex_centre(c, r):
    x = 40 + c * R * 1.5 * 1.08
    y = 40 + r * R * math.sqrt(3) * 1.04 + (R * 0.9 if c % 2 else 0)
    return x, y


def main(path):
    px = bytearray(W * H * 4)
    for i in range(W * H):  # transparent background
        px[4 * i:4 * i + 4] = b"\0\0\0\0"
    cells = [(c, r) for c in range(COLS) for r in range(ROWS)]
    for idx, (c, r) in enumerate(cells):
        cx, cy = hex_centre(c, r)
        colour = COLOURS[(c * 7 + r * 3 + (c * r) % 5) % len(COLOURS)]
        for y in range(int(cy - R), int(cy + R) + 1):
            for x in range(int(cx - R), int(cx + R) + 1):
                if not (0 <= x < W and 0 <= y < H):
                    continue
                dx, dy = abs(x - cx), abs(y - cy)
                # hexagon with flat top: inside when within both bounds
                inside = dy <= R * 0.866 and dx * 0.866 + dy * 0.5 <= R * 0.866
                if not inside:
                    continue
                d = math.hypot(x - cx, y - cy)
                petal = 0.55 + 0.25 * math.cos(5 * math.atan2(y - cy, x - cx))
                if d < R * 0.18:
                    rgb, a = (255, 240, 200), 255
                elif d < R * petal:
                    shade = 1.0 - 0.35 * d / R
                    rgb, a = tuple(int(v * shade) for v in colour), 255
                else:
                    rgb, a = (40, 50, 80), 200
                o = 4 * (y * W + x)
                px[o:o + 4] = bytes((rgb[0], rgb[1], rgb[2], a))
    raw = b"".join(b"\0" + bytes(px[4 * W * y:4 * W * (y + 1)]) for y in range(H))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main(sys.argv[1])
