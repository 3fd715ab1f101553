#!/usr/bin/env python3
"""Draws the board pictures into OUT (content/data/img/board): flowers
(8 colours x 8 shapes), flower contours, cells, the mat under a cell,
locks, the artifacts (board and trophy sizes), the selection and hover
rings and the spark sprites. Every picture is centred on its canvas: the
board places it at minus half its size from the cell's centre.
    make_board.py OUT
"""
import math
import os
import sys

import cairo
import numpy as np
from PIL import Image, ImageFilter

from artlib import (CELL_H, CELL_W, FLOWER_COLOURS, FLOWER_SIZE, GOLD, INK, MAT_H, MAT_W, MIST, MOON, NIGHT,
                    RING_H, RING_W, SS, Canvas, blurred_shadow, glow_of, lin, mix, rad, rgb, rounded_hex_path,
                    rounded_rect, save_png)

FLOWER = FLOWER_SIZE  # flower picture size
FR = 19.4             # flower radius inside it
HEX = 33.6            # circumradius of the drawn cell (a groove of about 2 px between cells)
COLOURS = range(1, 9)
SHAPES = range(1, 9)


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
    if shape == 7:  # rose: a full ring of seven petals around five inner ones
        outer = [(up + k * 2 * math.pi / 7, r * 1.02, r * 0.98, "round", 0) for k in range(7)]
        inner = [(up + math.pi / 5 + k * 2 * math.pi / 5, r * 0.66, r * 0.72, "round", 1) for k in range(5)]
        return outer + inner
    if shape == 8:  # compass star: four long pointed petals over four short round ones
        short = [(up + math.pi / 4 + k * math.pi / 2, r * 0.62, r * 0.62, "round", 0) for k in range(4)]
        long_ = [(up + k * math.pi / 2, r * 1.1, r * 0.52, "point", 1) for k in range(4)]
        return short + long_
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


HEX_RY = HEX * math.sqrt(3) / 2


def cell(kind, colour=None, scale=1.0):
    """kind: plain, wait (colour 1..8) or complete; `scale` draws it
    smaller or larger (the title picture)."""
    W, H = int(round(CELL_W * scale)), int(round(CELL_H * scale))
    cv = Canvas(W, H)
    c = cv.ctx
    c.scale(W / CELL_W, H / CELL_H)
    cx, cy, r, ry = CELL_W / 2, CELL_H / 2, HEX, HEX_RY
    rounded_hex_path(c, cx, cy, r, ry, 4.0)
    if kind == "plain":
        top, bottom = mix(MIST, NIGHT, 0.35), mix(NIGHT, (0, 0, 0), 0.2)
        c.set_source(lin(c, 0, 0, CELL_W * 0.4, CELL_H, [(0, rgb(top, 0.78)), (1, rgb(bottom, 0.86))]))
    elif kind == "wait":
        base, light, dark = FLOWER_COLOURS[colour]
        # dark glass with a glow of the colour it waits for around its rim
        c.set_source(rad(c, cx, cy, 6, r * 1.0, [(0, rgb(mix(dark, NIGHT, 0.6), 0.86)),
                                                  (0.6, rgb(mix(base, NIGHT, 0.45), 0.9)),
                                                  (1, rgb(mix(light, base, 0.4), 0.98))]))
    else:  # complete: lit from within, warm candle light
        c.set_source(rad(c, cx, cy, 3, r * 1.05, [(0, rgb((222, 196, 140), 0.92)), (0.6, rgb((176, 136, 80), 0.92)),
                                                   (1, rgb((100, 70, 50), 0.95))], fx=cx - 7, fy=cy - 7))
    c.fill()
    # gloss on the upper half, bevel lines: lit edge top left, dark bottom right
    c.save()
    rounded_hex_path(c, cx, cy, r, ry, 4.0)
    c.clip()
    c.move_to(0, 0)
    c.line_to(CELL_W, 0)
    c.line_to(CELL_W, CELL_H * 0.28)
    c.curve_to(CELL_W * 0.6, CELL_H * 0.45, CELL_W * 0.3, CELL_H * 0.38, 0, CELL_H * 0.52)
    c.close_path()
    c.set_source(lin(c, 0, 0, 0, CELL_H * 0.5, [(0, (1, 1, 1, 0.16)), (1, (1, 1, 1, 0.02))]))
    c.fill()
    c.restore()
    rounded_hex_path(c, cx, cy, r - 1.1, ry - 1.1, 3.4)
    c.set_source(lin(c, 0, 0, CELL_W, CELL_H, [(0, rgb(MOON, 0.55)), (0.5, rgb(MOON, 0.08)), (1, rgb(INK, 0.5))]))
    c.set_line_width(1.2)
    c.stroke()
    rounded_hex_path(c, cx, cy, r, ry, 4.0)
    c.set_source_rgba(*rgb(INK, 0.8))
    c.set_line_width(0.9)
    c.stroke()
    return cv.image()


def mat():
    """The soft dark bed under one cell; a few pixels larger than the cell,
    so the mats of neighbouring cells merge into one bed."""
    cv = Canvas(MAT_W, MAT_H)
    c = cv.ctx
    r = 37.0
    rounded_hex_path(c, MAT_W / 2, MAT_H / 2, r, r * math.sqrt(3) / 2, 6.0)
    c.set_source_rgba(*rgb(mix(INK, NIGHT, 0.4), 0.72))
    c.fill()
    a = cv.premul()
    img = Image.fromarray(np.clip(a[:, :, 3] * 255 + 0.5, 0, 255).astype(np.uint8), "L")
    img = img.filter(ImageFilter.GaussianBlur(1.4 * SS))
    alpha = np.asarray(img, np.float64) / 255.0
    out = np.zeros(a.shape)
    col = mix(INK, NIGHT, 0.4)
    for i in range(3):
        out[:, :, i] = col[i] / 255.0 * alpha
    out[:, :, 3] = alpha
    cv.load_premul(out)
    return cv.image()


BAR_ANGLES = {1: [-0.5], 2: [-0.55, 0.55], 3: [-1.05, 0.0, 1.05]}


def bar(c, cx, cy, a, alpha=0.95):
    c.save()
    c.translate(cx, cy)
    c.rotate(a)
    c.rectangle(-40, -4.4, 80, 8.8)
    c.set_source(lin(c, 0, -4.4, 0, 4.4, [(0, (0.93, 0.96, 1, alpha)), (0.35, (0.62, 0.72, 0.9, alpha)),
                                          (1, (0.22, 0.26, 0.45, alpha))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK, 0.9 * alpha / 0.95))
    c.set_line_width(0.7)
    c.stroke()
    for k in range(-4, 5):  # rivets
        c.arc(k * 9.0, 0, 1.1, 0, 2 * math.pi)
        c.set_source_rgba(1, 1, 1, 0.8 * alpha / 0.95)
        c.fill()
    c.restore()


def padlock(c, cx, cy, level, flash=0.0):
    c.new_sub_path()
    c.arc(cx, cy - 4.5, 5.6, math.pi, 2 * math.pi)
    c.set_line_width(2.6)
    c.set_source_rgba(*rgb(INK, 0.9))
    c.stroke_preserve()
    c.set_line_width(1.5)
    c.set_source_rgba(*rgb((220, 225, 240)))
    c.stroke()
    rounded_rect(c, cx - 8.5, cy - 4.5, 17, 13, 2.5)
    c.set_source(lin(c, 0, cy - 4.5, 0, cy + 8.5, [(0, rgb(mix((255, 235, 160), (255, 255, 255), flash))),
                                                   (0.5, rgb(mix(GOLD, (255, 255, 255), flash))),
                                                   (1, rgb((150, 95, 30)))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK, 0.95))
    c.set_line_width(0.8)
    c.stroke()
    c.arc(cx, cy + 1.0, 1.7, 0, 2 * math.pi)
    c.set_source_rgba(*rgb(INK))
    c.fill()
    c.rectangle(cx - 0.6, cy + 1.4, 1.2, 3.8)
    c.fill()
    # level pips under the padlock
    for k in range(level):
        x = cx + (k - (level - 1) / 2) * 5.5
        c.arc(x, cy + 14, 1.8, 0, 2 * math.pi)
        c.set_source_rgba(*rgb(MOON))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.8))
        c.set_line_width(0.6)
        c.stroke()


def lock(level, breaking=None):
    """Crystal bars over the cell, one per lock level, and a padlock.
    `breaking` (t in 0..1) draws the lock one step open: the last bar
    shatters into shards flying apart and the padlock flashes."""
    cv = Canvas(CELL_W, CELL_H)
    c = cv.ctx
    cx, cy = CELL_W / 2, CELL_H / 2
    whole = level if breaking is None else level - 1
    c.save()
    rounded_hex_path(c, cx, cy, HEX, HEX_RY, 4)
    c.clip()
    # frost over the cell: thicker with each level
    rounded_hex_path(c, cx, cy, HEX, HEX_RY, 4)
    frost = 0.08 + 0.06 * level
    if breaking is not None:
        frost -= 0.06 * breaking
    c.set_source_rgba(0.75, 0.85, 1.0, frost)
    c.fill()
    angles = BAR_ANGLES[level]
    for a in angles[:whole] if breaking is None else [x for k, x in enumerate(BAR_ANGLES[whole])]:
        bar(c, cx, cy, a)
    c.restore()
    if breaking is not None:
        t = breaking
        a = angles[-1]
        rnd = np.random.default_rng(level * 7 + 1)
        for k in range(6):  # shards of the breaking bar along its length
            u = -30 + k * 12
            dirn = rnd.uniform(-1, 1)
            px = cx + u * math.cos(a) + (dirn * 6 + u * 0.35) * t * math.cos(a) - 14 * t * math.sin(a) * (1 if k % 2 else -1)
            py = cy + u * math.sin(a) + (dirn * 6 + u * 0.35) * t * math.sin(a) + 14 * t * math.cos(a) * (1 if k % 2 else -1) \
                + 10 * t * t
            alpha = 0.95 * (1 - t) ** 1.3
            c.save()
            c.translate(px, py)
            c.rotate(a + rnd.uniform(-2.5, 2.5) * t)
            c.move_to(-6, -4.4)
            c.line_to(5 + rnd.uniform(-1, 1), -4.4)
            c.line_to(6, 1 + rnd.uniform(-2, 2))
            c.line_to(4, 4.4)
            c.line_to(-5, 4.4)
            c.close_path()
            c.set_source(lin(c, 0, -4.4, 0, 4.4, [(0, (0.93, 0.96, 1, alpha)), (1, (0.3, 0.36, 0.6, alpha))]))
            c.fill()
            c.restore()
        # a white flash along the bar at the start
        flash = max(0.0, 1 - t * 2.2)
        if flash > 0:
            c.save()
            c.translate(cx, cy)
            c.rotate(a)
            c.rectangle(-36, -8, 72, 16)
            c.set_source(lin(c, 0, -8, 0, 8, [(0, (1, 1, 1, 0)), (0.5, (1, 1, 0.95, 0.85 * flash)), (1, (1, 1, 1, 0))]))
            c.fill()
            c.restore()
        shake = 1.6 * math.sin(t * 18) * (1 - t)
        padlock(c, cx + shake, cy, whole, max(0.0, 1 - t * 1.6) * 0.7)
    else:
        padlock(c, cx, cy, level)
    out = cv.layer()
    out.paint_layer(blurred_shadow(cv, 1.0, 0.45))
    out.paint_layer(cv)
    return out.image()


RELICS = 14  # the relics a level can give, artifact_1 .. artifact_14


def relic(c, n):
    """Draws relic n (1..14) on a 50 x 50 space centred at (25, 25)."""
    cx = cy = 25.0
    gold = [(0, rgb((255, 244, 190))), (0.55, rgb(GOLD)), (1, rgb((120, 70, 20)))]
    if n == 1:  # a faceted moonstone in a star setting
        for k in range(8):
            petal(c, cx, cy, k * math.pi / 4, 20, 9, "point")
        c.set_source(rad(c, cx - 6, cy - 6, 0, 23, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.8))
        c.set_line_width(0.7)
        c.stroke()
        R = 13
        pts = [(cx + R * math.cos(math.pi / 6 + k * math.pi / 3), cy + R * math.sin(math.pi / 6 + k * math.pi / 3))
               for k in range(6)]
        for k, t in enumerate((0.55, 0.35, 0.25, 0.45, 0.85, 1.0)):
            c.move_to(cx, cy)
            c.line_to(*pts[k])
            c.line_to(*pts[(k + 1) % 6])
            c.close_path()
            c.set_source_rgba(*rgb(mix((20, 80, 130), (190, 250, 255), t)))
            c.fill()
        c.arc(cx, cy, 6.2, 0, 2 * math.pi)
        c.set_source(rad(c, cx - 1.5, cy - 1.5, 0, 7, [(0, (1, 1, 1, 0.95)), (1, (0.6, 0.95, 1, 0.2))]))
        c.fill()
        c.move_to(*pts[0])
        for p in pts[1:]:
            c.line_to(*p)
        c.close_path()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.9)
        c.stroke()
        return (120, 240, 255)
    if n == 2:  # a golden key
        c.save()
        c.translate(cx, cy)
        c.rotate(-0.7)
        c.new_sub_path()
        c.arc(-11, 0, 8.5, 0, 2 * math.pi)
        c.new_sub_path()
        c.arc_negative(-11, 0, 4.2, 2 * math.pi, 0)
        c.rectangle(-3, -2.6, 22, 5.2)
        c.rectangle(12, 2, 3.5, 6.5)
        c.rectangle(17, 2, 3.5, 4.5)
        c.set_fill_rule(cairo.FILL_RULE_WINDING)
        c.set_source(lin(c, -20, -8, 20, 8, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.8)
        c.stroke()
        c.arc(-11, -5.8, 1.4, 0, 2 * math.pi)
        c.set_source_rgba(*rgb((255, 80, 90)))
        c.fill()
        c.restore()
        return GOLD
    if n == 3:  # a lantern with a warm flame
        rounded_rect(c, cx - 10, cy - 10, 20, 22, 4)
        c.set_source(rad(c, cx, cy + 1, 1, 14, [(0, rgb((255, 250, 200))), (0.5, rgb((255, 180, 60))),
                                                (1, rgb((150, 70, 20)))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.9)
        c.stroke()
        for x in (cx - 4, cx + 4):  # the frame's bars
            c.move_to(x, cy - 10)
            c.line_to(x, cy + 12)
        c.set_source_rgba(*rgb((90, 60, 30), 0.8))
        c.set_line_width(1.2)
        c.stroke()
        for y0, h in ((cy - 15, 5.5), (cy + 11, 5)):  # cap and foot
            rounded_rect(c, cx - 13, y0, 26, h, 2)
            c.set_source(lin(c, 0, y0, 0, y0 + h, gold))
            c.fill_preserve()
            c.set_source_rgba(*rgb(INK, 0.9))
            c.set_line_width(0.8)
            c.stroke()
        c.new_sub_path()
        c.arc(cx, cy - 17, 4.5, math.pi, 2 * math.pi)
        c.set_source_rgba(*rgb(GOLD))
        c.set_line_width(1.8)
        c.stroke()
        petal(c, cx, cy + 6, -math.pi / 2, 10, 6, "point")
        c.set_source_rgba(1, 1, 0.9, 0.95)
        c.fill()
        return (255, 190, 90)
    if n == 4:  # an amulet: a teardrop ruby in gold on a chain loop
        c.new_sub_path()
        c.arc(cx, cy - 10, 10, math.pi * 1.05, math.pi * 1.95)
        c.set_source_rgba(*rgb(GOLD))
        c.set_line_width(1.4)
        c.set_dash([1.6, 1.0])
        c.stroke()
        c.set_dash([])
        c.move_to(cx, cy - 13)
        c.curve_to(cx + 15, cy + 2, cx + 11, cy + 19, cx, cy + 19)
        c.curve_to(cx - 11, cy + 19, cx - 15, cy + 2, cx, cy - 13)
        c.close_path()
        c.set_source(rad(c, cx - 4, cy - 2, 0, 20, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.9)
        c.stroke()
        c.move_to(cx, cy - 6)
        c.curve_to(cx + 9, cy + 3, cx + 7, cy + 14, cx, cy + 14)
        c.curve_to(cx - 7, cy + 14, cx - 9, cy + 3, cx, cy - 6)
        c.close_path()
        c.set_source(rad(c, cx - 2, cy + 3, 0, 12, [(0, rgb((255, 190, 200))), (0.4, rgb((230, 30, 70))),
                                                    (1, rgb((90, 0, 30)))]))
        c.fill()
        c.arc(cx - 2.5, cy + 3, 1.8, 0, 2 * math.pi)
        c.set_source_rgba(1, 1, 1, 0.9)
        c.fill()
        return (255, 120, 150)
    if n == 5:  # a small crown
        c.move_to(cx - 16, cy + 10)
        for k, (x, y) in enumerate(((-16, -8), (-8, 0), (0, -14), (8, 0), (16, -8), (16, 10))):
            c.line_to(cx + x, cy + y)
        c.close_path()
        c.set_source(lin(c, 0, cy - 14, 0, cy + 10, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.9)
        c.set_line_join(cairo.LINE_JOIN_ROUND)
        c.stroke()
        rounded_rect(c, cx - 17, cy + 8, 34, 6, 2)
        c.set_source(lin(c, 0, cy + 8, 0, cy + 14, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.stroke()
        for (x, y, col) in ((-16, -8, (120, 220, 255)), (0, -14, (255, 60, 80)), (16, -8, (120, 255, 150)),
                            (-7, 11, (180, 90, 255)), (7, 11, (255, 60, 80))):
            c.arc(cx + x, cy + y, 2.4, 0, 2 * math.pi)
            c.set_source(rad(c, cx + x - 0.8, cy + y - 0.8, 0, 2.6, [(0, (1, 1, 1, 1)), (1, rgb(col))]))
            c.fill()
        return GOLD
    if n == 6:  # an hourglass of silver sand
        for y0 in (cy - 17, cy + 13):
            rounded_rect(c, cx - 12, y0, 24, 4, 1.5)
            c.set_source(lin(c, 0, y0, 0, y0 + 4, gold))
            c.fill()
        c.move_to(cx - 9, cy - 13)
        c.line_to(cx + 9, cy - 13)
        c.curve_to(cx + 9, cy - 3, cx + 2, cy - 2, cx + 1.5, cy)
        c.curve_to(cx + 2, cy + 2, cx + 9, cy + 3, cx + 9, cy + 13)
        c.line_to(cx - 9, cy + 13)
        c.curve_to(cx - 9, cy + 3, cx - 2, cy + 2, cx - 1.5, cy)
        c.curve_to(cx - 2, cy - 2, cx - 9, cy - 3, cx - 9, cy - 13)
        c.close_path()
        c.set_source_rgba(0.75, 0.88, 1.0, 0.45)
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.8)
        c.stroke()
        c.move_to(cx - 6, cy - 8)
        c.line_to(cx + 6, cy - 8)
        c.line_to(cx, cy - 1)
        c.close_path()
        c.move_to(cx, cy + 5)
        c.line_to(cx + 7.5, cy + 12.5)
        c.line_to(cx - 7.5, cy + 12.5)
        c.close_path()
        c.set_source(lin(c, 0, cy - 8, 0, cy + 12, [(0, rgb((255, 255, 255))), (1, rgb((170, 190, 230)))]))
        c.fill()
        for x in (cx - 11, cx + 11):
            c.move_to(x, cy - 14)
            c.line_to(x, cy + 14)
        c.set_source(lin(c, 0, cy - 14, 0, cy + 14, gold))
        c.set_line_width(2.0)
        c.stroke()
        return (200, 220, 255)
    if n == 7:  # a silver crescent moon charm with a star
        c.save()
        c.arc(cx - 2, cy, 17, 0, 2 * math.pi)
        c.clip()
        c.new_path()
        c.rectangle(0, 0, 50, 50)
        c.new_sub_path()
        c.arc(cx + 6, cy - 4, 14, 0, 2 * math.pi)
        c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
        c.set_source(rad(c, cx - 10, cy - 6, 0, 22, [(0, rgb((255, 255, 255))), (0.5, rgb((200, 210, 240))),
                                                     (1, rgb((90, 100, 150)))]))
        c.fill()
        c.restore()
        for k in range(4):
            petal(c, cx + 9, cy - 3, k * math.pi / 2, 7, 3, "point")
        c.set_source_rgba(*rgb((255, 240, 170)))
        c.fill()
        return (200, 210, 255)
    if n == 8:  # a ring with an emerald
        c.new_sub_path()
        c.arc(cx, cy + 5, 13, 0, 2 * math.pi)
        c.new_sub_path()
        c.arc_negative(cx, cy + 5, 9.5, 2 * math.pi, 0)
        c.set_source(rad(c, cx - 5, cy, 0, 16, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.8)
        c.stroke()
        c.move_to(cx, cy - 19)
        c.line_to(cx + 8, cy - 12)
        c.line_to(cx + 5, cy - 5)
        c.line_to(cx - 5, cy - 5)
        c.line_to(cx - 8, cy - 12)
        c.close_path()
        c.set_source(lin(c, cx - 8, cy - 19, cx + 8, cy - 5, [(0, rgb((200, 255, 210))), (0.4, rgb((30, 200, 100))),
                                                              (1, rgb((0, 80, 40)))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.stroke()
        c.arc(cx - 2.5, cy - 13, 1.5, 0, 2 * math.pi)
        c.set_source_rgba(1, 1, 1, 0.9)
        c.fill()
        return (120, 255, 170)
    if n == 9:  # a silver bell with a gold clapper
        c.move_to(cx - 3, cy - 13)
        c.curve_to(cx - 11, cy - 12, cx - 12, cy - 2, cx - 12, cy + 5)
        c.curve_to(cx - 12, cy + 9, cx - 16, cy + 10, cx - 16, cy + 12)
        c.line_to(cx + 16, cy + 12)
        c.curve_to(cx + 16, cy + 10, cx + 12, cy + 9, cx + 12, cy + 5)
        c.curve_to(cx + 12, cy - 2, cx + 11, cy - 12, cx + 3, cy - 13)
        c.close_path()
        c.set_source(lin(c, cx - 14, cy - 12, cx + 14, cy + 12, [(0, rgb((255, 255, 255))), (0.45, rgb((190, 200, 220))),
                                                                (1, rgb((80, 90, 120)))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.9)
        c.stroke()
        c.new_sub_path()
        c.arc(cx, cy - 15, 3.2, 0, 2 * math.pi)
        c.new_sub_path()
        c.arc(cx, cy + 15, 3.6, 0, 2 * math.pi)
        c.set_source(rad(c, cx - 1, cy, 0, 18, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.7)
        c.stroke()
        c.move_to(cx - 7, cy - 6)
        c.curve_to(cx - 8, cy - 1, cx - 8, cy + 4, cx - 9, cy + 8)
        c.set_source_rgba(1, 1, 1, 0.8)
        c.set_line_width(1.6)
        c.stroke()
        return (220, 230, 255)
    if n == 10:  # a cluster of amethyst crystals
        for x, h, w, tilt in ((cx - 8, 22, 6.5, -0.35), (cx + 8, 20, 6.5, 0.35), (cx, 30, 8, 0.0)):
            c.save()
            c.translate(x, cy + 14)
            c.rotate(tilt)
            c.move_to(-w, 0)
            c.line_to(-w, -h + w)
            c.line_to(0, -h)
            c.line_to(w, -h + w)
            c.line_to(w, 0)
            c.close_path()
            c.set_source(lin(c, -w, -h, w, 0, [(0, rgb((245, 215, 255))), (0.4, rgb((170, 90, 220))),
                                               (1, rgb((60, 20, 100)))]))
            c.fill_preserve()
            c.set_source_rgba(*rgb(INK, 0.9))
            c.set_line_width(0.8)
            c.stroke()
            c.move_to(0, -h)
            c.line_to(0, 0)
            c.set_source_rgba(1, 1, 1, 0.35)
            c.set_line_width(1.0)
            c.stroke()
            c.restore()
        rounded_rect(c, cx - 15, cy + 12, 30, 6, 3)
        c.set_source(lin(c, 0, cy + 12, 0, cy + 18, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.8)
        c.stroke()
        return (200, 140, 255)
    if n == 11:  # a golden chalice with a ruby
        c.move_to(cx - 13, cy - 14)
        c.curve_to(cx - 13, cy - 2, cx - 6, cy + 2, cx - 2, cy + 3)
        c.line_to(cx - 2, cy + 10)
        c.curve_to(cx - 6, cy + 11, cx - 11, cy + 13, cx - 11, cy + 16)
        c.line_to(cx + 11, cy + 16)
        c.curve_to(cx + 11, cy + 13, cx + 6, cy + 11, cx + 2, cy + 10)
        c.line_to(cx + 2, cy + 3)
        c.curve_to(cx + 6, cy + 2, cx + 13, cy - 2, cx + 13, cy - 14)
        c.close_path()
        c.set_source(lin(c, cx - 13, cy - 14, cx + 13, cy + 16, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.9)
        c.stroke()
        c.save()
        c.translate(cx, cy - 14)
        c.scale(13, 3)
        c.arc(0, 0, 1, 0, 2 * math.pi)
        c.restore()
        c.set_source_rgba(*rgb((110, 40, 60)))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.7)
        c.stroke()
        c.arc(cx, cy - 5, 3.4, 0, 2 * math.pi)
        c.set_source(rad(c, cx - 1, cy - 6, 0, 4, [(0, rgb((255, 200, 200))), (0.5, rgb((230, 30, 60))),
                                                   (1, rgb((100, 0, 20)))]))
        c.fill()
        return (255, 210, 120)
    if n == 12:  # a pearl in a scallop shell
        for k in range(7):
            a = math.pi + math.pi * (k + 0.5) / 7
            petal(c, cx, cy + 10, a, 21, 7, "round")
        c.set_source(rad(c, cx, cy + 10, 2, 22, [(0, rgb((255, 240, 235))), (0.6, rgb((250, 180, 180))),
                                                 (1, rgb((170, 90, 110)))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.85))
        c.set_line_width(0.8)
        c.stroke()
        c.move_to(cx - 6, cy + 12)
        c.line_to(cx + 6, cy + 12)
        c.line_to(cx, cy + 17)
        c.close_path()
        c.set_source_rgba(*rgb((200, 120, 130)))
        c.fill()
        c.arc(cx, cy + 4, 6.5, 0, 2 * math.pi)
        c.set_source(rad(c, cx - 2.2, cy + 1.8, 0, 7.5, [(0, (1, 1, 1, 1)), (0.5, rgb((235, 235, 250))),
                                                         (1, rgb((150, 150, 185)))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.8))
        c.set_line_width(0.6)
        c.stroke()
        return (255, 220, 230)
    if n == 13:  # an owl's feather quill with a gold nib
        c.save()
        c.translate(cx, cy)
        c.rotate(0.6)
        c.move_to(0, 19)
        c.curve_to(-9, 8, -9, -10, 0, -21)
        c.curve_to(8, -10, 8, 8, 0, 19)
        c.close_path()
        c.set_source(lin(c, -8, -20, 8, 18, [(0, rgb((240, 235, 225))), (0.5, rgb((160, 140, 120))),
                                             (1, rgb((80, 60, 50)))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.8)
        c.stroke()
        for k in range(5):  # the bars of an owl's feather
            y = -14 + 6 * k
            c.move_to(-6.5 + abs(y) * 0.08, y + 3)
            c.line_to(6.5 - abs(y) * 0.08, y)
        c.set_source_rgba(*rgb((70, 50, 40), 0.7))
        c.set_line_width(1.3)
        c.stroke()
        c.move_to(0, -21)
        c.line_to(0, 19)
        c.set_source_rgba(1, 1, 1, 0.6)
        c.set_line_width(0.8)
        c.stroke()
        c.move_to(-2.2, 17)
        c.line_to(2.2, 17)
        c.line_to(0, 24)
        c.close_path()
        c.set_source(lin(c, -2, 17, 2, 24, gold))
        c.fill()
        c.restore()
        return (230, 215, 190)
    if n == 14:  # a sun medallion
        for k in range(12):
            petal(c, cx, cy, k * math.pi / 6, 21, 5.5, "point")
        c.set_source(rad(c, cx - 4, cy - 4, 0, 22, [(0, rgb((255, 250, 200))), (0.5, rgb((255, 190, 60))),
                                                    (1, rgb((170, 80, 10)))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.8))
        c.set_line_width(0.7)
        c.stroke()
        c.arc(cx, cy, 11, 0, 2 * math.pi)
        c.set_source(rad(c, cx - 3, cy - 3, 0, 12, gold))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(0.9)
        c.stroke()
        c.arc(cx, cy, 5, 0, 2 * math.pi)
        c.set_source(rad(c, cx - 1.5, cy - 1.5, 0, 6, [(0, rgb((255, 240, 200))), (0.5, rgb((255, 120, 30))),
                                                       (1, rgb((140, 40, 0)))]))
        c.fill()
        return (255, 200, 90)
    raise ValueError(n)


def artifact(n=1, size=FLOWER):
    """Relic n at `size` pixels (drawn at that size, not enlarged)."""
    cv = Canvas(size, size)
    c = cv.ctx
    c.scale(size / 50.0, size / 50.0)
    halo = relic(c, n)
    k = size / 50.0
    out = cv.layer()
    out.paint_layer(glow_of(cv, 2.6 * k, halo, 0.7))
    out.paint_layer(blurred_shadow(cv, 1.2 * k, 0.5, 1.5 * k, 2.0 * k))
    out.paint_layer(cv)
    out.paint_layer(rim_light(cv, MOON, 0.6, 0.6 * k))
    return out.image()


def ring(selected):
    cv = Canvas(RING_W, RING_H)
    c = cv.ctx
    cx, cy = RING_W / 2, RING_H / 2
    r, ry = HEX + 0.5, HEX_RY + 0.5
    if selected:
        rounded_hex_path(c, cx, cy, r, ry, 4)
        c.set_source(lin(c, 0, 0, RING_W, RING_H, [(0, rgb((255, 250, 210))), (0.5, rgb(GOLD)),
                                                   (1, rgb((200, 130, 40)))]))
        c.set_line_width(3.0)
        c.stroke()
        rounded_hex_path(c, cx, cy, r - 3, ry - 3, 4)
        c.set_source_rgba(*rgb(MOON, 0.18))
        c.fill()
        out = cv.layer()
        out.paint_layer(glow_of(cv, 2.8, GOLD, 0.9))
        out.paint_layer(cv)
    else:
        rounded_hex_path(c, cx, cy, r, ry, 4)
        c.set_source_rgba(1, 1, 1, 0.10)
        c.fill_preserve()
        c.set_source_rgba(*rgb((230, 240, 255), 0.75))
        c.set_line_width(1.6)
        c.stroke()
        out = cv.layer()
        out.paint_layer(glow_of(cv, 1.8, (200, 220, 255), 0.5))
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
    for colour in COLOURS:
        for shape in SHAPES:
            save_png(draw_flower(colour, shape), os.path.join(out, "flower_%d%d.png" % (colour, shape)))
    for shape in SHAPES:
        save_png(contour(shape), os.path.join(out, "contour_%d.png" % shape))
    save_png(cell("plain"), os.path.join(out, "cell_plain.png"))
    for colour in COLOURS:
        save_png(cell("wait", colour), os.path.join(out, "cell_wait_%d.png" % colour))
    save_png(cell("complete"), os.path.join(out, "cell_complete.png"))
    save_png(mat(), os.path.join(out, "mat.png"))
    for level, name in ((1, "single"), (2, "double"), (3, "triple")):
        save_png(lock(level), os.path.join(out, "lock_%s.png" % name))
    for level in (2, 3):  # one step open: two bars to one, three to two
        for f in range(1, 7):
            save_png(lock(level, f / 6.0), os.path.join(out, "anchor_open_%d_%d.png" % (level, f)))
    for n in range(1, RELICS + 1):
        save_png(artifact(n), os.path.join(out, "artifact_%d.png" % n))
        save_png(artifact(n, 96), os.path.join(out, "artifact_big_%d.png" % n))
    save_png(ring(True), os.path.join(out, "selected.png"))
    save_png(ring(False), os.path.join(out, "hover.png"))
    save_png(spark(64, 8), os.path.join(out, "spark.png"))
    save_png(spark(16, 4), os.path.join(out, "spark_small.png"))


if __name__ == "__main__":
    main(sys.argv[1])
