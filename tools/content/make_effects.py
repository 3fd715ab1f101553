#!/usr/bin/env python3
"""Draws the board's effect sprites into OUT (content/data/img/board): the
flower burst (8 frames), the glint sweeping over a cell (8 frames), the
selection's sparkle, the orbs of the colours flying out of completed cells
and a soft glow ring. All are centred on their canvas and light-coloured,
so they read as light whether the board blends them or adds them.
    make_effects.py OUT
"""
import math
import os
import sys

from artlib import CELL_H, CELL_W, FLY_COLOURS, GOLD, MOON, Canvas, lin, mix, rad, rgb, rounded_hex_path, save_png
from make_board import HEX, HEX_RY, petal

BURST = 96       # explosion frames
FRAMES = 8


def explosion(frame):
    """A flower bursting into light: a flash, a widening ring, rays and
    petal-shaped motes flying out and fading."""
    t = (frame - 1) / (FRAMES - 1)  # 0 .. 1
    cv = Canvas(BURST, BURST)
    c = cv.ctx
    cx = cy = BURST / 2
    flash, ring_fade, ray_fade, mote_fade = (1 - t) ** 2, (1 - t) ** 0.7, (1 - t) ** 1.5, (1 - t) ** 0.6
    core = 18 + 20 * t
    c.arc(cx, cy, core, 0, 2 * math.pi)
    c.set_source(rad(c, cx, cy, 0, core, [(0, (1, 1, 0.97, flash)), (0.4, (1, 0.92, 0.7, 0.8 * flash)),
                                           (1, (1, 0.85, 0.5, 0))]))
    c.fill()
    ring = 10 + 34 * t
    c.arc(cx, cy, ring, 0, 2 * math.pi)
    c.set_source_rgba(*rgb(mix(MOON, GOLD, 0.3), 0.95 * ring_fade))
    c.set_line_width(1.0 + 4.0 * (1 - t))
    c.stroke()
    for k in range(8):  # rays, alternately long and short
        a = k * math.pi / 4 + 0.2
        length = (20 + 26 * t) * (1.0 if k % 2 == 0 else 0.65)
        petal(c, cx, cy, a, length, 5.0 * (1 - t) + 1.2, "point")
        c.set_source(rad(c, cx, cy, 0, length, [(0, (1, 1, 0.92, ray_fade)), (0.6, (1, 0.86, 0.5, 0.8 * ray_fade)),
                                                 (1, (1, 0.8, 0.4, 0))]))
        c.fill()
    for k in range(10):  # motes: little golden petals flying out
        a = k * 2 * math.pi / 10 + 0.5 * (k % 3)
        d = 8 + (28 + 6 * (k % 3)) * t
        x, y = cx + d * math.cos(a), cy + d * math.sin(a)
        petal(c, x, y, a + t * 2, 6.5 * (1 - 0.5 * t), 4.0 * (1 - 0.5 * t), "round", -2)
        c.set_source_rgba(*rgb(mix(GOLD, (255, 255, 255), 0.35 + 0.25 * (k % 2)), 0.95 * mote_fade))
        c.fill()
    return cv.image()


def shine(frame):
    """A glint sweeping over a cell from the upper left to the lower right."""
    t = (frame - 1) / (FRAMES - 1)
    cv = Canvas(CELL_W, CELL_H)
    c = cv.ctx
    cx, cy = CELL_W / 2, CELL_H / 2
    strength = math.sin(math.pi * (0.15 + 0.7 * t))
    c.save()
    rounded_hex_path(c, cx, cy, HEX, HEX_RY, 4)
    c.clip()
    pos = -46 + 92 * t  # the band's centre along the diagonal
    c.translate(cx, cy)
    c.rotate(math.pi / 4)
    c.rectangle(pos - 14, -60, 28, 120)
    c.set_source(lin(c, pos - 14, 0, pos + 14, 0, [(0, (1, 1, 1, 0)), (0.4, (1, 0.96, 0.82, 0.35 * strength)),
                                                   (0.5, (1, 1, 1, 0.6 * strength)),
                                                   (0.6, (1, 0.96, 0.82, 0.35 * strength)), (1, (1, 1, 1, 0))]))
    c.fill()
    c.restore()
    # a small star riding on the band
    x, y = cx + pos * 0.45, cy + pos * 0.4
    for k in range(4):
        petal(c, x, y, k * math.pi / 2, 7 * strength + 1, 2.2, "point")
    c.set_source_rgba(1, 1, 0.92, 0.9 * strength)
    c.fill()
    return cv.image()


def sparkle():
    """The selection's particle: a small gold star."""
    cv = Canvas(12, 12)
    c = cv.ctx
    c.arc(6, 6, 6, 0, 2 * math.pi)
    c.set_source(rad(c, 6, 6, 0, 6, [(0, rgb(MOON, 0.8)), (1, rgb(GOLD, 0))]))
    c.fill()
    for k in range(4):
        petal(c, 6, 6, k * math.pi / 2, 5.8, 2.4, "point")
    c.set_source(rad(c, 6, 6, 0, 6, [(0, (1, 1, 0.95, 1)), (0.5, rgb(GOLD)), (1, rgb(GOLD, 0.6))]))
    c.fill()
    return cv.image()


def fly_orb(colour):
    """A glowing orb of a board colour, about 28 x 28."""
    col = FLY_COLOURS[colour]
    cv = Canvas(28, 28)
    c = cv.ctx
    c.arc(14, 14, 14, 0, 2 * math.pi)
    c.set_source(rad(c, 14, 14, 0, 14, [(0, rgb(mix(col, (255, 255, 255), 0.9))), (0.25, rgb(mix(col, (255, 255, 255),
                                                                                                  0.45))),
                                         (0.5, rgb(col, 0.75)), (0.8, rgb(col, 0.25)), (1, rgb(col, 0))]))
    c.fill()
    c.arc(11.5, 11.5, 2.2, 0, 2 * math.pi)
    c.set_source_rgba(1, 1, 1, 0.9)
    c.fill()
    return cv.image()


def glow():
    """A soft ring of moonlight, 64 x 64."""
    cv = Canvas(64, 64)
    c = cv.ctx
    c.arc(32, 32, 32, 0, 2 * math.pi)
    c.set_source(rad(c, 32, 32, 8, 32, [(0, rgb(MOON, 0)), (0.45, rgb(MOON, 0.35)), (0.62, rgb((255, 248, 225), 0.7)),
                                         (0.8, rgb(MOON, 0.3)), (1, rgb(MOON, 0))]))
    c.fill()
    return cv.image()


def main(out):
    for f in range(1, FRAMES + 1):
        save_png(explosion(f), os.path.join(out, "explosion_%d.png" % f))
        save_png(shine(f), os.path.join(out, "shine_%d.png" % f))
    for colour in range(1, 9):
        save_png(fly_orb(colour), os.path.join(out, "fly_color_%d.png" % colour))
    save_png(sparkle(), os.path.join(out, "sparkle.png"))
    save_png(glow(), os.path.join(out, "glow.png"))


if __name__ == "__main__":
    main(sys.argv[1])
