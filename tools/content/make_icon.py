#!/usr/bin/env python3
"""Writes the desktop icon in the hicolor sizes into OUT
(content/install/icons): hicolor/SIZE/apps/io.quorvanel.Quorvanel.png for
SIZE 16, 24, 32, 48, 64, 128, 256 and 512. The icon is the game in one
picture: a rose-coloured flower glowing on a dark glass hex tile with a gold
rim, lit from the upper left. Large sizes are drawn at 512 and scaled down;
the small ones (16 to 32) are drawn afresh with a bolder rim and no halo,
so they stay readable.
    make_icon.py OUT
"""
import math
import os
import sys

from PIL import Image

from artlib import GOLD, INK, MOON, Canvas, blurred_shadow, glow_of, lin, rad, rgb, save_png, under
from make_board import draw_flower

APP_ID = "io.quorvanel.Quorvanel"
SIZES = (16, 24, 32, 48, 64, 128, 256, 512)


def hexagon(c, cx, cy, r):
    for k in range(6):
        a = math.pi / 6 + k * math.pi / 3
        (c.move_to if k == 0 else c.line_to)(cx + r * math.cos(a), cy + r * math.sin(a))
    c.close_path()


def tile(size, small):
    """The hex tile at `size` pixels; `small` sizes get a thicker rim."""
    cv = Canvas(size, size)
    c = cv.ctx
    m = size / 2.0
    r = size * (0.47 if small else 0.44)
    hexagon(c, m, m, r)
    c.set_source(lin(c, 0, m - r, 0, m + r, [(0, rgb((70, 70, 140))), (0.5, rgb((34, 30, 80))),
                                             (1, rgb((14, 12, 40)))]))
    c.fill_preserve()
    c.set_line_width(size * (0.07 if small else 0.035))
    c.set_source(lin(c, 0, m - r, size, m + r, [(0, rgb((255, 240, 190))), (0.5, rgb(GOLD)),
                                                (1, rgb((140, 90, 30)))]))
    c.stroke()
    if not small:
        # the glass's gloss on its upper half
        hexagon(c, m, m, r * 0.9)
        c.set_source(lin(c, 0, m - r, 0, m, [(0, rgb(MOON, 0.22)), (1, rgb(MOON, 0))]))
        c.fill()
    return cv


def icon(size):
    small = size <= 32
    base = 512 if not small else size
    cv = tile(base, small)
    img = (under(cv, blurred_shadow(cv, base / 128.0, 0.5)) if not small else cv).image()
    # the flower: a rose (colour 2) of the five-petal shape, filling the tile
    flower = draw_flower(2, 1, base * (0.82 if small else 0.72) / 50.0)
    glow = None
    if not small:
        halo = Canvas(base, base)
        hc = halo.ctx
        hc.arc(base / 2.0, base / 2.0, base * 0.3, 0, 2 * math.pi)
        hc.set_source(rad(hc, base / 2.0, base / 2.0, 0, base * 0.3, [(0, rgb((255, 172, 220), 0.55)),
                                                                      (1, rgb((255, 172, 220), 0))]))
        hc.fill()
        glow = halo.image()
        img.alpha_composite(glow)
    img.alpha_composite(flower, ((base - flower.width) // 2, (base - flower.height) // 2))
    if base != size:
        img = img.resize((size, size), Image.LANCZOS)
    return img


def main(out):
    for size in SIZES:
        path = os.path.join(out, "hicolor", "%dx%d" % (size, size), "apps", APP_ID + ".png")
        save_png(icon(size), path)


if __name__ == "__main__":
    main(sys.argv[1])
