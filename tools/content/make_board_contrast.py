#!/usr/bin/env python3
"""Draws the high-contrast board pictures for colour-blind play into OUT
(content/data/img/board/colourblind), under the names of the normal ones:
every flower (8 colours x 8 shapes) with a strong dark outline around its
silhouette and a white sign on a dark disc in its heart, one sign per shape
(dot, bar, plus, triangle, ring, square, diamond, star), and the flower
contours of waiting cells thicker and darker, with the same sign in their
middle. The resource list board_colourblind.xml names them like the normal
pictures, so loading it over board.xml swaps the board's art.
    make_board_contrast.py OUT
"""
import math
import os
import sys

import numpy as np
from PIL import Image

from artlib import INK, MOON, SS, Canvas, blurred_shadow, save_png
from make_board import COLOURS, FLOWER, FR, SHAPES, draw_flower, silhouette

OUTLINE = 1.6      # width of the dark outline around a flower, in pixels
DISC_R = 8.6       # the dark disc in the heart
SIGN_R = 5.6       # the sign's reach from the centre
SIGN_NAMES = {1: "dot", 2: "bar", 3: "plus", 4: "triangle", 5: "ring", 6: "square", 7: "diamond", 8: "star"}


def sign_path(c, shape, cx, cy, r):
    """Adds the path of a shape's sign (filled, except the ring) to `c`;
    returns True when it is to be stroked instead."""
    if shape == 1:  # dot
        c.arc(cx, cy, r * 0.62, 0, 2 * math.pi)
    elif shape == 2:  # bar
        c.rectangle(cx - r, cy - r * 0.34, 2 * r, r * 0.68)
    elif shape == 3:  # plus
        t = r * 0.32
        c.rectangle(cx - r, cy - t, 2 * r, 2 * t)
        c.rectangle(cx - t, cy - r, 2 * t, 2 * r)
    elif shape == 4:  # triangle, point up, its weight on the centre
        c.move_to(cx, cy - r * 1.02)
        c.line_to(cx + r * 0.98, cy + r * 0.68)
        c.line_to(cx - r * 0.98, cy + r * 0.68)
        c.close_path()
    elif shape == 5:  # ring
        c.arc(cx, cy, r * 0.7, 0, 2 * math.pi)
        return True
    elif shape == 6:  # square
        s = r * 0.74
        c.rectangle(cx - s, cy - s, 2 * s, 2 * s)
    elif shape == 7:  # diamond
        c.move_to(cx, cy - r * 1.05)
        c.line_to(cx + r * 0.8, cy)
        c.line_to(cx, cy + r * 1.05)
        c.line_to(cx - r * 0.8, cy)
        c.close_path()
    elif shape == 8:  # five-pointed star
        for k in range(10):
            a = -math.pi / 2 + k * math.pi / 5
            rr = r * 1.08 if k % 2 == 0 else r * 0.45
            (c.move_to if k == 0 else c.line_to)(cx + rr * math.cos(a), cy + rr * math.sin(a) + r * 0.08)
        c.close_path()
    else:
        raise ValueError(shape)
    return False


def sign_badge(shape, disc=True):
    """The heart badge: a dark disc with a thin light rim and the white sign."""
    cv = Canvas(FLOWER, FLOWER)
    c = cv.ctx
    cx = cy = FLOWER / 2
    if disc:
        c.arc(cx, cy, DISC_R, 0, 2 * math.pi)
        c.set_source_rgba(INK[0] / 255, INK[1] / 255, INK[2] / 255, 1)
        c.fill_preserve()
        c.set_source_rgba(1, 1, 1, 0.85)
        c.set_line_width(0.9)
        c.stroke()
    stroke = sign_path(c, shape, cx, cy, SIGN_R)
    c.set_source_rgba(1, 1, 1, 1)
    if stroke:
        c.set_line_width(2.2)
        c.stroke()
    else:
        c.fill()
    return cv


def alpha_of(canvas):
    return Image.fromarray(np.clip(canvas.premul()[:, :, 3] * 255 + 0.5, 0, 255).astype(np.uint8), "L")


def solid(alpha, colour):
    """A canvas of one colour through an alpha array at SS resolution."""
    out = np.zeros(alpha.shape + (4,))
    for i in range(3):
        out[:, :, i] = colour[i] / 255.0 * alpha
    out[:, :, 3] = alpha
    cv = Canvas(FLOWER, FLOWER)
    cv.load_premul(out)
    return cv


def grow(alpha, by):
    """`alpha` (an L picture at SS resolution) grown by `by` pixels, or
    shrunk for a negative `by`, through a round brush (a square one would
    square the petals off)."""
    a = np.asarray(alpha, np.float64) / 255.0
    r = int(round(abs(by) * SS))
    src = a if by > 0 else 1 - a
    pad = np.pad(src, r)
    out = np.zeros_like(src)
    h, w = src.shape
    for dy in range(-r, r + 1):
        for dx in range(-r, r + 1):
            if dx * dx + dy * dy <= r * r:
                np.maximum(out, pad[r + dy:r + dy + h, r + dx:r + dx + w], out=out)
    return out if by > 0 else 1 - out


def contrast_flower(colour, shape):
    """The normal flower over a dark outline of its silhouette, with the
    sign in its heart."""
    sil = alpha_of(silhouette(shape))
    outline = solid(grow(sil, OUTLINE), INK)
    flower = Canvas(FLOWER, FLOWER)
    arr = np.asarray(draw_flower(colour, shape).resize((FLOWER * SS, FLOWER * SS), Image.NEAREST), np.float64) / 255
    premul = arr.copy()
    for i in range(3):
        premul[:, :, i] *= arr[:, :, 3]
    flower.load_premul(premul)
    out = Canvas(FLOWER, FLOWER)
    out.paint_layer(blurred_shadow(outline, 1.0, 0.6))
    out.paint_layer(outline)
    out.paint_layer(flower)
    out.paint_layer(sign_badge(shape))
    return out.image()


def contrast_contour(shape):
    """The outline a waiting cell shows, thicker and dark with a light inner
    edge (it reads on light and dark cells alike), over a faint dark fill,
    with the shape's sign in the middle."""
    sil = alpha_of(silhouette(shape, FLOWER, FR * 0.92))
    outer, inner, core = grow(sil, 2.2), grow(sil, -1.4), grow(sil, -2.4)
    ring = np.clip(outer - inner, 0, 1)
    edge = np.clip(inner - core, 0, 1)
    dark = solid(np.clip(ring + core * 0.35, 0, 1), INK)
    light = solid(edge * 0.9, MOON)
    out = Canvas(FLOWER, FLOWER)
    out.paint_layer(dark)
    out.paint_layer(light)
    out.paint_layer(sign_badge(shape))
    return out.image()


def main(out):
    for colour in COLOURS:
        for shape in SHAPES:
            save_png(contrast_flower(colour, shape), os.path.join(out, "flower_%d%d.png" % (colour, shape)))
    for shape in SHAPES:
        save_png(contrast_contour(shape), os.path.join(out, "contour_%d.png" % shape))


if __name__ == "__main__":
    main(sys.argv[1])
