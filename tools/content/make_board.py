#!/usr/bin/env python3
"""Draws the board pictures into OUT (content/data/img/board):
flowers (7 colours x 7 shapes), flower contours, cells, locks, the
artifact, the selection and hover rings and the spark sprites.
    make_board.py OUT
"""
import math
import os
import sys

import cairo
import numpy as np
from PIL import Image, ImageFilter

from artlib import (CELL_H, CELL_W, FLOWER_COLOURS, GOLD, INK, MIST, MOON, NIGHT, SS, Canvas, blurred_shadow,
                    glow_of, hex_path, lin, mix, rad, rgb, rounded_hex_path, save_png)

FLOWER = 44          # flower picture size
FR = 17.0            # flower radius inside it


def petal(ctx, cx, cy, angle, length, width, tip="round", base=0.0):
    """One petal from the centre outwards; width is the widest span."""
    ca, sa = math.cos(angle), math.sin(angle)

    def p(u, v):  # u along the petal, v across
        return cx + u * ca - v * sa, cy + u * sa + v * ca

    w = width / 2
    ctx.move_to(*p(base, 0))
    if tip == "round":
        ctx.curve_to(*p(length * 0.25, -w * 1.1), *p(length * 1.02, -w * 1.05), *p(length, 0))
        ctx.curve_to(*p(length * 1.02, w * 1.05), *p(length * 0.25, w * 1.1), *p(base, 0))
    elif tip == "point":
        ctx.curve_to(*p(length * 0.3, -w * 1.2), *p(length * 0.7, -w * 0.7), *p(length, 0))
        ctx.curve_to(*p(length * 0.7, w * 0.7), *p(length * 0.3, w * 1.2), *p(base, 0))
    elif tip == "heart":
        ctx.curve_to(*p(length * 0.2, -w * 1.2), *p(length * 1.1, -w * 1.25), *p(length * 0.98, -w * 0.3))
        ctx.curve_to(*p(length * 0.96, -w * 0.1), *p(length * 0.86, 0), *p(length * 0.84, 0))
        ctx.curve_to(*p(length * 0.86, 0), *p(length * 0.96, w * 0.1), *p(length * 0.98, w * 0.3))
        ctx.curve_to(*p(length * 1.1, w * 1.25), *p(length * 0.2, w * 1.2), *p(base, 0))
    ctx.close_path()


def shape_petals(shape, cx, cy, r):
    """The petals of a shape as (angle, length, width, tip, layer) tuples."""
    up = -math.pi / 2
    if shape == 1:  # five round petals
        return [(up + k * 2 * math.pi / 5, r, r * 0.92, "round", 0) for k in range(5)]
    if shape == 2:  # four heart petals (clover)
        return [(up + k * math.pi / 2, r * 1.05, r * 1.05, "heart", 0) for k in range(4)]
    if shape == 3:  # six pointed petals (star lily)
        return [(up + k * math.pi / 3, r * 1.05, r * 0.56, "point", 0) for k in range(6)]
    if shape == 4:  # three broad petals (trefoil)
        return [(up + k * 2 * math.pi / 3, r * 1.0, r * 1.22, "round", 0) for k in range(3)]
    if shape == 5:  # twelve narrow petals (daisy)
        return [(up + k * math.pi / 6, r * 1.02, r * 0.34, "round", 0) for k in range(12)]
    if shape == 6:  # tulip: a cup of three upright petals
        return [(up - 0.62, r * 1.12, r * 0.95, "point", 0), (up + 0.62, r * 1.12, r * 0.95, "point", 0),
                (up + math.pi - 0.9, r * 0.8, r * 0.7, "round", 0), (up + math.pi + 0.9, r * 0.8, r * 0.7, "round", 0),
                (up + math.pi, r * 0.8, r * 0.9, "round", 0), (up, r * 1.12, r * 1.0, "point", 1)]
    if shape == 7:  # rose: two rings of five
        outer = [(up + k * 2 * math.pi / 5, r * 1.0, r * 0.95, "round", 0) for k in range(5)]
        inner = [(up + math.pi / 5 + k * 2 * math.pi / 5, r * 0.66, r * 0.72, "round", 1) for k in range(5)]
        return outer + inner
    raise ValueError(shape)


def silhouette(shape, size=FLOWER, r=FR):
    cv = Canvas(size, size)
    c = cv.ctx
    cx = cy = size / 2
    c.set_source_rgba(1, 1, 1, 1)
    for (a, length, width, tip, _layer) in shape_petals(shape, cx, cy, r):
        petal(c, cx, cy, a, length, width, tip)
        c.fill()
    c.arc(cx, cy, r * 0.3, 0, 2 * math.pi)
    c.fill()
    return cv


def rim_light(cv, colour=MOON, opacity=0.75, width=1.0):
    """A thin bright edge on the lit (upper left) side of the silhouette."""
    a = cv.premul()[:, :, 3]
    s = int(round(width * SS))
    shifted = np.zeros_like(a)
    shifted[s:, s:] = a[:-s, :-s]
    edge = np.clip(a - shifted, 0, 1) * opacity
    out = np.zeros(a.shape + (4,))
    for i in range(3):
        out[:, :, i] = colour[i] / 255.0 * edge
    out[:, :, 3] = edge
    layer = cv.layer()
    layer.load_premul(out)
    return layer


def draw_flower(colour, shape, scale=1.0):
    """A flower picture of FLOWER x FLOWER pixels, or drawn larger (not
    enlarged) by `scale`."""
    base, light, dark = FLOWER_COLOURS[colour]
    cv = Canvas(int(round(FLOWER * scale)), int(round(FLOWER * scale)))
    c = cv.ctx
    c.scale(scale, scale)
    cx = cy = FLOWER / 2
    r = FR
    petals = shape_petals(shape, cx, cy, r)
    for layer in (0, 1):
        for (a, length, width, tip, lay) in petals:
            if lay != layer:
                continue
            lt = mix(light, (255, 255, 255), 0.2) if layer else light
            petal(c, cx, cy, a, length, width, tip)
            c.set_source(rad(c, cx - r * 0.35, cy - r * 0.4, 0, r * 1.5,
                             [(0, rgb(lt)), (0.45, rgb(base)), (1.0, rgb(dark))]))
            c.fill_preserve()
            c.set_source_rgba(*rgb(dark, 0.85))
            c.set_line_width(0.7)
            c.stroke()
            # a vein down the middle of the petal
            ca, sa = math.cos(a), math.sin(a)
            c.move_to(cx + ca * r * 0.3, cy + sa * r * 0.3)
            c.line_to(cx + ca * length * 0.75, cy + sa * length * 0.75)
            c.set_source_rgba(*rgb(light, 0.35))
            c.set_line_width(0.8)
            c.stroke()
    # the heart of the flower
    hr = r * (0.22 if shape == 7 else 0.3)
    c.arc(cx, cy, hr, 0, 2 * math.pi)
    if shape == 7:
        c.set_source(rad(c, cx - 1, cy - 1, 0, hr * 1.4, [(0, rgb(mix(light, (255, 255, 255), 0.5))),
                                                        (1, rgb(base))]))
        c.fill()
        c.set_source_rgba(*rgb(dark, 0.8))
        c.set_line_width(0.7)
        for k in range(3):  # a spiral bud
            c.arc(cx + 0.6 * k - 0.6, cy, hr * (0.9 - 0.25 * k), math.pi * (0.2 + 0.7 * k), math.pi * (1.5 + 0.7 * k))
            c.stroke()
    else:
        c.set_source(rad(c, cx - hr * 0.4, cy - hr * 0.4, 0, hr * 1.2,
                         [(0, rgb((255, 250, 210))), (0.5, rgb((250, 200, 80))), (1, rgb((170, 100, 30)))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb((110, 60, 20), 0.9))
        c.set_line_width(0.6)
        c.stroke()
        for k in range(7):  # pollen dots
            ang = k * 2.4
            d = hr * 0.55 * math.sqrt((k + 0.5) / 7)
            c.arc(cx + d * math.cos(ang), cy + d * math.sin(ang), 0.55, 0, 2 * math.pi)
            c.set_source_rgba(*rgb((255, 250, 220), 0.9))
            c.fill()
    glow = glow_of(cv, 2.2, light, 0.45)
    shadow = blurred_shadow(cv, 1.2, 0.55)
    out = cv.layer()
    out.paint_layer(glow)
    out.paint_layer(shadow)
    out.paint_layer(cv)
    out.paint_layer(rim_light(cv, MOON, 0.55, 0.6))
    return out.image()


def contour(shape):
    """The still outline of a shape: what a waiting cell asks for."""
    sil = silhouette(shape, FLOWER, FR * 0.92)
    a = Image.fromarray((sil.premul()[:, :, 3] * 255).astype(np.uint8), "L")
    outer = a.filter(ImageFilter.MaxFilter(7))
    inner = a.filter(ImageFilter.MinFilter(3))
    ring = np.clip(np.asarray(outer, np.float64) - np.asarray(inner, np.float64), 0, 255) / 255.0
    fill = np.asarray(a, np.float64) / 255.0 * 0.18
    alpha = np.clip(ring * 0.95 + fill, 0, 1)
    out = np.zeros(alpha.shape + (4,))
    for i in range(3):
        out[:, :, i] = MOON[i] / 255.0 * alpha
    out[:, :, 3] = alpha
    cv = Canvas(FLOWER, FLOWER)
    cv.load_premul(out)
    final = cv.layer()
    final.paint_layer(blurred_shadow(cv, 0.8, 0.6, 0.8, 1.0))
    final.paint_layer(cv)
    return final.image()


def cell(kind, colour=None):
    """kind: plain, wait (colour 1..7) or complete."""
    cv = Canvas(CELL_W, CELL_H)
    c = cv.ctx
    cx, cy, r, ry = CELL_W / 2, CELL_H / 2, CELL_W / 2 - 1.0, CELL_H / 2 - 1.0
    rounded_hex_path(c, cx, cy, r, ry, 3.0)
    if kind == "plain":
        top, bottom = mix(MIST, NIGHT, 0.35), mix(NIGHT, (0, 0, 0), 0.2)
        c.set_source(lin(c, 0, 0, CELL_W * 0.4, CELL_H, [(0, rgb(top, 0.78)), (1, rgb(bottom, 0.86))]))
    elif kind == "wait":
        base, light, dark = FLOWER_COLOURS[colour]
        # dark glass with a glow of the colour it waits for around its rim
        c.set_source(rad(c, cx, cy, 4, r * 1.02, [(0, rgb(mix(dark, NIGHT, 0.55), 0.86)),
                                                   (0.62, rgb(mix(base, NIGHT, 0.35), 0.9)),
                                                   (1, rgb(mix(light, base, 0.4), 0.98))]))
    else:  # complete: lit from within, warm moonlight
        c.set_source(rad(c, cx, cy, 2, r * 1.05, [(0, rgb((222, 196, 140), 0.92)), (0.6, rgb((176, 136, 80), 0.92)),
                                                   (1, rgb((100, 70, 50), 0.95))], fx=cx - 5, fy=cy - 5))
    c.fill()
    # gloss on the upper half, bevel lines: lit edge top left, dark bottom right
    c.save()
    rounded_hex_path(c, cx, cy, r, ry, 3.0)
    c.clip()
    c.move_to(0, 0)
    c.line_to(CELL_W, 0)
    c.line_to(CELL_W, CELL_H * 0.28)
    c.curve_to(CELL_W * 0.6, CELL_H * 0.45, CELL_W * 0.3, CELL_H * 0.38, 0, CELL_H * 0.52)
    c.close_path()
    c.set_source(lin(c, 0, 0, 0, CELL_H * 0.5, [(0, (1, 1, 1, 0.16)), (1, (1, 1, 1, 0.02))]))
    c.fill()
    c.restore()
    rounded_hex_path(c, cx, cy, r - 0.9, ry - 0.9, 2.5)
    c.set_source(lin(c, 0, 0, CELL_W, CELL_H, [(0, rgb(MOON, 0.55)), (0.5, rgb(MOON, 0.08)), (1, rgb(INK, 0.5))]))
    c.set_line_width(1.1)
    c.stroke()
    rounded_hex_path(c, cx, cy, r, ry, 3.0)
    c.set_source_rgba(*rgb(INK, 0.8))
    c.set_line_width(0.8)
    c.stroke()
    return cv.image()


def lock(level):
    """Crystal bars over the cell, one per lock level, and a padlock."""
    cv = Canvas(CELL_W, CELL_H)
    c = cv.ctx
    cx, cy = CELL_W / 2, CELL_H / 2
    c.save()
    rounded_hex_path(c, cx, cy, CELL_W / 2 - 1, CELL_H / 2 - 1, 3)
    c.clip()
    # frost over the cell: thicker with each level
    rounded_hex_path(c, cx, cy, CELL_W / 2 - 1, CELL_H / 2 - 1, 3)
    c.set_source_rgba(0.75, 0.85, 1.0, 0.08 + 0.06 * level)
    c.fill()
    angles = {1: [-0.5], 2: [-0.55, 0.55], 3: [-1.05, 0.0, 1.05]}[level]
    for a in angles:
        c.save()
        c.translate(cx, cy)
        c.rotate(a)
        c.rectangle(-30, -3.2, 60, 6.4)
        c.set_source(lin(c, 0, -3.2, 0, 3.2, [(0, (0.93, 0.96, 1, 0.95)), (0.35, (0.62, 0.72, 0.9, 0.95)),
                                              (1, (0.22, 0.26, 0.45, 0.95))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.6)
        c.stroke()
        for k in range(-3, 4):  # rivets
            c.arc(k * 8.0, 0, 0.9, 0, 2 * math.pi)
            c.set_source_rgba(1, 1, 1, 0.8)
            c.fill()
        c.restore()
    c.restore()
    # the padlock
    c.new_sub_path()
    c.arc(cx, cy - 3.5, 4.2, math.pi, 2 * math.pi)
    c.set_line_width(2.0)
    c.set_source_rgba(*rgb(INK, 0.9))
    c.stroke_preserve()
    c.set_line_width(1.2)
    c.set_source_rgba(*rgb((220, 225, 240)))
    c.stroke()
    from artlib import rounded_rect
    rounded_rect(c, cx - 6.5, cy - 3.5, 13, 10, 2.0)
    c.set_source(lin(c, 0, cy - 3.5, 0, cy + 6.5, [(0, rgb((255, 235, 160))), (0.5, rgb(GOLD)),
                                                   (1, rgb((150, 95, 30)))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK, 0.95))
    c.set_line_width(0.7)
    c.stroke()
    c.arc(cx, cy + 0.8, 1.3, 0, 2 * math.pi)
    c.set_source_rgba(*rgb(INK))
    c.fill()
    c.rectangle(cx - 0.5, cy + 1, 1, 3)
    c.fill()
    # level pips under the padlock
    for k in range(level):
        x = cx + (k - (level - 1) / 2) * 4.0
        c.arc(x, cy + 10.5, 1.4, 0, 2 * math.pi)
        c.set_source_rgba(*rgb(MOON))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.8))
        c.set_line_width(0.5)
        c.stroke()
    out = cv.layer()
    out.paint_layer(blurred_shadow(cv, 1.0, 0.45))
    out.paint_layer(cv)
    return out.image()


def artifact():
    """A moonstone in a golden setting."""
    cv = Canvas(FLOWER, FLOWER)
    c = cv.ctx
    cx = cy = FLOWER / 2
    # setting
    for k in range(8):
        a = k * math.pi / 4
        petal(c, cx, cy, a, 17.5, 8, "point")
    c.set_source(rad(c, cx - 5, cy - 5, 0, 20, [(0, rgb((255, 240, 170))), (0.6, rgb(GOLD)), (1, rgb((120, 70, 20)))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK, 0.8))
    c.set_line_width(0.6)
    c.stroke()
    # the stone, faceted hexagon
    R = 11.5
    pts = [(cx + R * math.cos(math.pi / 6 + k * math.pi / 3), cy + R * math.sin(math.pi / 6 + k * math.pi / 3))
           for k in range(6)]
    shades = [0.55, 0.35, 0.25, 0.45, 0.85, 1.0]
    for k in range(6):
        p0, p1 = pts[k], pts[(k + 1) % 6]
        c.move_to(cx, cy)
        c.line_to(*p0)
        c.line_to(*p1)
        c.close_path()
        t = shades[k]
        col = mix((20, 80, 130), (190, 250, 255), t)
        c.set_source_rgba(*rgb(col))
        c.fill()
    c.arc(cx, cy, 5.5, 0, 2 * math.pi)
    c.set_source(rad(c, cx - 1.5, cy - 1.5, 0, 6, [(0, (1, 1, 1, 0.95)), (1, (0.6, 0.95, 1, 0.2))]))
    c.fill()
    c.move_to(*pts[0])
    for p in pts[1:]:
        c.line_to(*p)
    c.close_path()
    c.set_source_rgba(*rgb(INK, 0.9))
    c.set_line_width(0.8)
    c.stroke()
    c.arc(cx - 4.5, cy - 5, 1.6, 0, 2 * math.pi)
    c.set_source_rgba(1, 1, 1, 0.95)
    c.fill()
    out = cv.layer()
    out.paint_layer(glow_of(cv, 2.6, (120, 240, 255), 0.7))
    out.paint_layer(blurred_shadow(cv, 1.2, 0.5))
    out.paint_layer(cv)
    out.paint_layer(rim_light(cv, MOON, 0.6, 0.6))
    return out.image()


def ring(selected):
    cv = Canvas(CELL_W + 8, CELL_H + 8)
    c = cv.ctx
    cx, cy = (CELL_W + 8) / 2, (CELL_H + 8) / 2
    r, ry = CELL_W / 2 - 1.5, CELL_H / 2 - 1.5
    if selected:
        rounded_hex_path(c, cx, cy, r, ry, 3)
        c.set_source(lin(c, 0, 0, CELL_W, CELL_H, [(0, rgb((255, 250, 210))), (0.5, rgb(GOLD)),
                                                   (1, rgb((200, 130, 40)))]))
        c.set_line_width(2.6)
        c.stroke()
        rounded_hex_path(c, cx, cy, r - 2.5, ry - 2.5, 3)
        c.set_source_rgba(*rgb(MOON, 0.18))
        c.fill()
        out = cv.layer()
        out.paint_layer(glow_of(cv, 2.5, GOLD, 0.9))
        out.paint_layer(cv)
    else:
        rounded_hex_path(c, cx, cy, r, ry, 3)
        c.set_source_rgba(1, 1, 1, 0.10)
        c.fill_preserve()
        c.set_source_rgba(*rgb((230, 240, 255), 0.75))
        c.set_line_width(1.4)
        c.stroke()
        out = cv.layer()
        out.paint_layer(glow_of(cv, 1.6, (200, 220, 255), 0.5))
        out.paint_layer(cv)
    return out.image()


def spark(size, rays):
    cv = Canvas(size, size)
    c = cv.ctx
    cx = cy = size / 2
    c.arc(cx, cy, size / 2, 0, 2 * math.pi)
    c.set_source(rad(c, cx, cy, 0, size / 2, [(0, (1, 1, 0.95, 1)), (0.12, (1, 0.95, 0.8, 0.9)),
                                               (0.4, (1, 0.85, 0.55, 0.28)), (1, (1, 0.8, 0.5, 0))]))
    c.fill()
    for k in range(rays):
        a = k * 2 * math.pi / rays + (math.pi / 4 if rays == 8 and k % 2 else 0)
        length = size / 2 * (0.98 if k % 2 == 0 else 0.6)
        petal(c, cx, cy, a, length, size * 0.06, "point")
        c.set_source(rad(c, cx, cy, 0, length, [(0, (1, 1, 1, 1)), (1, (1, 0.9, 0.7, 0))]))
        c.fill()
    return cv.image()


def main(out):
    for colour in range(1, 8):
        for shape in range(1, 8):
            save_png(draw_flower(colour, shape), os.path.join(out, "flower_%d%d.png" % (colour, shape)))
    for shape in range(1, 8):
        save_png(contour(shape), os.path.join(out, "contour_%d.png" % shape))
    save_png(cell("plain"), os.path.join(out, "cell_plain.png"))
    for colour in range(1, 8):
        save_png(cell("wait", colour), os.path.join(out, "cell_wait_%d.png" % colour))
    save_png(cell("complete"), os.path.join(out, "cell_complete.png"))
    for level, name in ((1, "single"), (2, "double"), (3, "triple")):
        save_png(lock(level), os.path.join(out, "lock_%s.png" % name))
    save_png(artifact(), os.path.join(out, "artifact.png"))
    save_png(ring(True), os.path.join(out, "selected.png"))
    save_png(ring(False), os.path.join(out, "hover.png"))
    save_png(spark(64, 8), os.path.join(out, "spark.png"))
    save_png(spark(16, 4), os.path.join(out, "spark_small.png"))


if __name__ == "__main__":
    main(sys.argv[1])
