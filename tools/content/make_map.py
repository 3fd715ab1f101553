#!/usr/bin/env python3
"""Writes the map's pictures into OUT (content/data/img/map):

  page1.png, page2.png    the two pages of the garden at night, seen from
                          above: lawn, the winding path with its stepping
                          stones (map_layout.py), the fourteen landmarks
  stone_normal/hover/disabled.png
                          a level's button (a moonlit stepping stone)
  quib_stay.png, quib1.png .. quib4.png
                          the mascot, a round moth with lantern wings:
                          standing, walking down-left, down-right, up-left,
                          up-right (48 x 56; its feet at the bottom middle)
  location_complete.png   a wreath of light round a finished landmark
  location_lock.png       the padlock over a landmark still being played
  location_animation.png  the soft glow of a finished landmark
  clouds.png              the mist that hides a landmark not reached yet
  trophies.png            the trophy room's shelf wall, 14 niches
    make_map.py OUT
"""
import math
import os
import random
import sys

from artlib import (GOLD, INK, MIST, MOON, NIGHT, Canvas, blurred_shadow, glow_of, lin, rad, rgb, rounded_rect,
                    save_png, under)
import map_layout as layout

W, H = layout.W, layout.H
LAWN = (22, 46, 40)
LAWN_LIGHT = (40, 78, 60)
PATH = (120, 110, 140)
WATER = (30, 60, 120)


def lawn(c, rnd, tint):
    c.rectangle(0, 0, W, H)
    c.set_source(rad(c, W * 0.3, H * 0.2, 40, 700, [(0, rgb(tuple(min(255, v + t) for v, t in zip(LAWN_LIGHT, tint)))),
                                                      (1, rgb(NIGHT))]))
    c.fill()
    # tufts of grass and tiny glowing buds
    for _ in range(900):
        x, y = rnd.uniform(0, W), rnd.uniform(0, H)
        c.move_to(x, y)
        c.line_to(x + rnd.uniform(-1.5, 1.5), y - rnd.uniform(2, 5))
        c.set_source_rgba(0.3, 0.6, 0.45, rnd.uniform(0.15, 0.4))
        c.set_line_width(0.6)
        c.stroke()
    for _ in range(70):
        x, y = rnd.uniform(0, W), rnd.uniform(0, H)
        r = rnd.uniform(1.0, 2.2)
        c.arc(x, y, r * 2.5, 0, 2 * math.pi)
        hue = rnd.choice([(1, 0.6, 0.8), (0.7, 0.8, 1), (1, 0.9, 0.6)])
        c.set_source(rad(c, x, y, 0, r * 2.5, [(0, hue + (0.7,)), (1, hue + (0,))]))
        c.fill()


def hedge(c, rnd, x, y, w, h):
    """A dark hedge of overlapping round shrubs."""
    for _ in range(int(w * h / 180)):
        px, py = rnd.uniform(x, x + w), rnd.uniform(y, y + h)
        r = rnd.uniform(9, 16)
        c.arc(px, py, r, 0, 2 * math.pi)
        c.set_source(rad(c, px - r * 0.4, py - r * 0.4, 0, r, [(0, rgb((50, 96, 70))), (1, rgb((12, 34, 30)))]))
        c.fill()


def path(c, curve):
    """The gravel path under the stones: a soft dark edge, then the gravel."""
    for width, colour, alpha in ((30, INK, 0.45), (24, (70, 64, 96), 1.0), (18, PATH, 0.55)):
        c.move_to(*curve[0])
        for p in curve[1:]:
            c.line_to(*p)
        c.set_line_width(width)
        c.set_line_cap(1)
        c.set_line_join(1)
        c.set_source_rgba(*rgb(colour, alpha))
        c.stroke()


def stone(state, size=30):
    """A level's stepping stone: an oval of moonlit stone, brighter when
    hovered, dark and mossy when the level is not open yet."""
    cv = Canvas(size, size)
    c = cv.ctx
    cx, cy, rx, ry = size / 2.0, size / 2.0, size * 0.42, size * 0.34
    c.save()
    c.translate(cx, cy)
    c.scale(1, ry / rx)
    c.arc(0, 0, rx, 0, 2 * math.pi)
    c.restore()
    light = {"normal": (200, 196, 220), "hover": (255, 240, 190), "disabled": (88, 96, 104)}[state]
    dark = {"normal": (84, 80, 120), "hover": (170, 130, 60), "disabled": (34, 44, 44)}[state]
    c.set_source(rad(c, cx - rx * 0.4, cy - ry * 0.5, 0, rx * 1.3, [(0, rgb(light)), (1, rgb(dark))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK, 0.9))
    c.set_line_width(1.0)
    c.stroke()
    if state == "disabled":
        for k in range(5):
            a = k * 1.3
            c.arc(cx + math.cos(a) * rx * 0.5, cy + math.sin(a) * ry * 0.5, 2.2, 0, 2 * math.pi)
            c.set_source_rgba(0.2, 0.4, 0.3, 0.8)
            c.fill()
    else:
        c.arc(cx - rx * 0.35, cy - ry * 0.35, rx * 0.35, math.pi, 1.6 * math.pi)
        c.set_source_rgba(*rgb(MOON, 0.8))
        c.set_line_width(1.2)
        c.stroke()
    out = under(cv, blurred_shadow(cv, 1.2, 0.55))
    if state == "hover":
        out = under(out, glow_of(cv, 3, GOLD, 0.9))
    return out.image()


def landmark(c, name, x, y, rnd):
    """Each location's landmark, about 60 pixels across, standing at (x, y)
    (its foot)."""
    def fill(colours, x0, y0, x1, y1):
        c.set_source(lin(c, x0, y0, x1, y1, [(i / float(len(colours) - 1), rgb(col)) for i, col in enumerate(colours)]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.9))
        c.set_line_width(1.0)
        c.stroke()

    stone_c = [(200, 196, 220), (110, 104, 150), (50, 46, 80)]
    leaf_c = [(90, 170, 110), (30, 90, 60), (10, 40, 30)]
    water_c = [(120, 170, 240), (40, 80, 170), (16, 30, 80)]
    if name == "gate":
        for sx in (-1, 1):
            c.rectangle(x + sx * 20 - 5, y - 46, 10, 46)
            fill(stone_c, x - 30, y - 46, x + 30, y)
        c.new_sub_path()
        c.arc(x, y - 44, 25, math.pi, 2 * math.pi)
        c.arc_negative(x, y - 44, 17, 2 * math.pi, math.pi)
        c.close_path()
        fill(stone_c, x - 25, y - 70, x + 25, y - 40)
    elif name in ("pond", "moonpool"):
        c.save()
        c.translate(x, y - 14)
        c.scale(1, 0.5)
        c.arc(0, 0, 32, 0, 2 * math.pi)
        c.restore()
        fill(water_c if name == "pond" else [(255, 250, 220), (200, 190, 255), (60, 60, 150)], x - 30, y - 30, x + 30, y)
        for k in range(3):
            c.save()
            c.translate(x - 14 + k * 13, y - 16 + (k % 2) * 5)
            c.scale(1, 0.45)
            c.arc(0, 0, 5, 0, 2 * math.pi)
            c.restore()
            c.set_source_rgba(0.4, 0.75, 0.5, 0.95)
            c.fill()
    elif name in ("willow", "orchard"):
        c.rectangle(x - 4, y - 26, 8, 26)
        fill([(120, 90, 70), (60, 40, 30)], x - 4, y - 26, x + 4, y)
        for k in range(9):
            a = k * 2 * math.pi / 9
            px, py = x + math.cos(a) * 16, y - 42 + math.sin(a) * 12
            c.arc(px, py, 13, 0, 2 * math.pi)
            c.set_source(rad(c, px - 5, py - 5, 0, 14, [(0, rgb(leaf_c[0])), (1, rgb(leaf_c[2]))]))
            c.fill()
        if name == "willow":
            for k in range(9):
                px = x - 26 + k * 6.5
                c.move_to(px, y - 40)
                c.curve_to(px - 2, y - 30, px + 2, y - 20, px, y - 10 - (k % 3) * 4)
                c.set_source_rgba(0.4, 0.75, 0.5, 0.8)
                c.set_line_width(1.2)
                c.stroke()
        else:
            for k in range(7):
                a = k * 2 * math.pi / 7 + 0.4
                c.arc(x + math.cos(a) * 18, y - 42 + math.sin(a) * 13, 3, 0, 2 * math.pi)
                c.set_source_rgba(1.0, 0.55, 0.4, 1)
                c.fill()
    elif name == "well":
        c.save()
        c.translate(x, y - 12)
        c.scale(1, 0.5)
        c.arc(0, 0, 18, 0, 2 * math.pi)
        c.restore()
        fill(stone_c, x - 18, y - 20, x + 18, y)
        for sx in (-1, 1):
            c.rectangle(x + sx * 15 - 2, y - 48, 4, 36)
            fill([(120, 90, 70), (60, 40, 30)], x, y - 48, x, y - 12)
        c.move_to(x - 24, y - 44)
        c.line_to(x, y - 60)
        c.line_to(x + 24, y - 44)
        c.close_path()
        fill([(180, 90, 80), (90, 40, 40)], x, y - 60, x, y - 44)
    elif name == "bridge":
        c.new_sub_path()
        c.arc(x, y + 10, 32, math.pi * 1.1, math.pi * 1.9)
        c.arc_negative(x, y + 10, 24, math.pi * 1.9, math.pi * 1.1)
        c.close_path()
        fill([(190, 140, 100), (110, 70, 50)], x, y - 24, x, y)
        for k in range(5):
            a = math.pi * (1.15 + k * 0.175)
            c.move_to(x + math.cos(a) * 32, y + 10 + math.sin(a) * 32)
            c.line_to(x + math.cos(a) * 32, y + 10 + math.sin(a) * 32 - 10)
            c.set_source_rgba(*rgb(INK, 0.9))
            c.set_line_width(1.5)
            c.stroke()
    elif name == "arbour":
        c.new_sub_path()
        c.arc(x, y - 30, 24, math.pi, 2 * math.pi)
        c.line_to(x + 24, y)
        c.line_to(x + 18, y)
        c.arc_negative(x, y - 30, 18, 2 * math.pi, math.pi)
        c.line_to(x - 18, y)
        c.line_to(x - 24, y)
        c.close_path()
        fill(leaf_c, x - 24, y - 54, x + 24, y)
        for k in range(10):
            a = math.pi + k * math.pi / 9
            c.arc(x + math.cos(a) * 21, y - 30 + math.sin(a) * 21, 2.6, 0, 2 * math.pi)
            c.set_source_rgba(1.0, 0.6, 0.85, 1)
            c.fill()
    elif name == "fountain":
        c.save()
        c.translate(x, y - 10)
        c.scale(1, 0.45)
        c.arc(0, 0, 28, 0, 2 * math.pi)
        c.restore()
        fill(stone_c, x - 28, y - 22, x + 28, y)
        c.rectangle(x - 4, y - 40, 8, 28)
        fill(stone_c, x - 4, y - 40, x + 4, y - 12)
        for k in range(7):
            a = math.pi * (1.1 + k * 0.13)
            c.move_to(x, y - 42)
            c.curve_to(x + math.cos(a) * 10, y - 58, x + math.cos(a) * 22, y - 40, x + math.cos(a) * 26, y - 18)
            c.set_source_rgba(0.7, 0.85, 1.0, 0.75)
            c.set_line_width(1.2)
            c.stroke()
    elif name == "lanterns":
        for k, dx in enumerate((-20, 0, 20)):
            h = 40 + (k % 2) * 8
            c.rectangle(x + dx - 1.5, y - h, 3, h)
            fill([(120, 110, 140), (50, 46, 70)], x, y - h, x, y)
            c.arc(x + dx, y - h - 4, 10, 0, 2 * math.pi)
            c.set_source(rad(c, x + dx, y - h - 4, 0, 10, [(0, rgb((255, 240, 180), 0.9)), (1, rgb(GOLD, 0))]))
            c.fill()
            rounded_rect(c, x + dx - 4, y - h - 9, 8, 10, 2)
            fill([(255, 240, 180), GOLD, (150, 90, 30)], x, y - h - 9, x, y - h + 1)
    elif name == "stones":
        for k, (dx, h) in enumerate(((-22, 30), (-7, 44), (8, 38), (22, 28))):
            rounded_rect(c, x + dx - 6, y - h, 12, h, 5)
            fill(stone_c, x + dx - 6, y - h, x + dx + 6, y)
    elif name == "greenhouse":
        c.move_to(x - 28, y)
        c.line_to(x - 28, y - 28)
        c.line_to(x, y - 48)
        c.line_to(x + 28, y - 28)
        c.line_to(x + 28, y)
        c.close_path()
        c.set_source_rgba(0.6, 0.85, 0.95, 0.35)
        c.fill_preserve()
        c.set_source_rgba(*rgb(MOON, 0.9))
        c.set_line_width(1.2)
        c.stroke()
        for dx in (-14, 0, 14):
            c.move_to(x + dx, y)
            c.line_to(x + dx, y - 48 + abs(dx) * 20 / 28.0)
            c.stroke()
        for k in range(4):
            c.arc(x - 18 + k * 12, y - 8, 5, 0, 2 * math.pi)
            c.set_source_rgba(0.35, 0.7, 0.45, 0.9)
            c.fill()
    elif name == "maze":
        for k in range(4):
            s = 52 - k * 12
            rounded_rect(c, x - s / 2.0, y - 8 - s * 0.5, s, s * 0.55, 3)
            c.set_source_rgba(*rgb(leaf_c[1] if k % 2 == 0 else LAWN))
            c.fill_preserve()
            c.set_source_rgba(*rgb(INK, 0.8))
            c.set_line_width(0.8)
            c.stroke()
        c.rectangle(x - 4, y - 12, 8, 14)
        c.set_source_rgba(*rgb((110, 100, 130)))
        c.fill()
    elif name == "tower":
        c.move_to(x - 12, y)
        c.line_to(x - 9, y - 52)
        c.line_to(x + 9, y - 52)
        c.line_to(x + 12, y)
        c.close_path()
        fill(stone_c, x - 12, y - 52, x + 12, y)
        c.move_to(x - 13, y - 52)
        c.line_to(x, y - 70)
        c.line_to(x + 13, y - 52)
        c.close_path()
        fill([(110, 120, 200), (40, 40, 100)], x, y - 70, x, y - 52)
        rounded_rect(c, x - 3, y - 42, 6, 9, 3)
        c.set_source_rgba(1, 0.9, 0.55, 1)
        c.fill()
    if name == "moonpool":
        c.save()
        c.translate(x, y - 14)
        c.scale(1, 0.5)
        c.arc(0, 0, 40, 0, 2 * math.pi)
        c.restore()
        c.set_source(rad(c, x, y - 14, 0, 40, [(0, rgb(MOON, 0.5)), (1, rgb(MOON, 0))]))
        c.fill()


def page(number):
    rnd = random.Random(100 + number)
    cv = Canvas(W, H)
    c = cv.ctx
    lawn(c, rnd, (0, 0, 0) if number == 1 else (-10, -12, 20))
    # a stream across the page below its top
    c.move_to(-10, 150 if number == 1 else 230)
    c.curve_to(200, 120 if number == 1 else 260, 420, 190 if number == 1 else 200, 650, 140 if number == 1 else 250)
    c.set_line_width(20)
    c.set_source_rgba(*rgb(INK, 0.4))
    c.stroke_preserve()
    c.set_line_width(14)
    c.set_source(lin(c, 0, 0, W, 0, [(0, rgb(WATER)), (0.5, rgb((60, 100, 180))), (1, rgb(WATER))]))
    c.stroke()
    # hedges round the edges
    for (x, y, w, h) in ((-10, -10, 660, 40), (-10, 440, 660, 50), (-20, 0, 35, 480), (620, 0, 40, 480)):
        hedge(c, rnd, x, y, w, h)
    curve = layout.path_curve(number)
    path(c, curve)
    pos = layout.level_positions()
    # the stones' beds (the buttons draw the stones themselves)
    for level, (x, y) in pos.items():
        if layout.page_of(level) != number:
            continue
        c.save()
        c.translate(x, y + 2)
        c.scale(1, 0.8)
        c.arc(0, 0, 15, 0, 2 * math.pi)
        c.restore()
        c.set_source_rgba(*rgb(INK, 0.35))
        c.fill()
    for name, (x, y, p) in sorted(layout.location_places().items(), key=lambda kv: kv[1][1]):
        if p != number:
            continue
        shadow = cv.layer()
        shadow.ctx.save()
        shadow.ctx.translate(x + 6, y)
        shadow.ctx.scale(1, 0.3)
        shadow.ctx.arc(0, 0, 30, 0, 2 * math.pi)
        shadow.ctx.restore()
        shadow.ctx.set_source_rgba(*rgb(INK, 0.5))
        shadow.ctx.fill()
        cv.paint_layer(shadow)
        landmark(c, name, x, y, rnd)
    # moonlight from the upper left
    c.rectangle(0, 0, W, H)
    c.set_source(rad(c, 60, -40, 50, 640, [(0, rgb(MOON, 0.16)), (1, rgb(MOON, 0))]))
    c.fill()
    return cv.image("RGB")


def quib(pose):
    """The mascot, 48 x 56, its feet at (24, 54). Poses: "stay" facing the
    player; 1 down-left, 2 down-right (facing the player, turned), 3 up-left,
    4 up-right (seen from behind)."""
    cv = Canvas(48, 56)
    c = cv.ctx
    back = pose in ("3", "4")
    side = {"stay": 0, "1": -1, "2": 1, "3": -1, "4": 1}[pose]
    cx, cy = 24 + side * 1.5, 32
    # lantern wings, the far one first
    for s in (-1, 1):
        flap = 0.15 if pose != "stay" else 0.0
        c.save()
        c.translate(cx + s * 10, cy - 6)
        c.rotate(s * (0.5 + flap))
        c.scale(1, 1.35)
        c.arc(0, -6, 10, 0, 2 * math.pi)
        c.restore()
        c.set_source(rad(c, cx + s * 12, cy - 14, 0, 16, [(0, rgb((255, 245, 200), 0.95)), (0.6, rgb(GOLD, 0.75)),
                                                            (1, rgb((200, 110, 60), 0.55))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK, 0.8))
        c.set_line_width(0.8)
        c.stroke()
    # little feet
    for s in (-1, 1):
        step = (2 if s == side else -1) if pose != "stay" else 0
        c.save()
        c.translate(cx + s * 6, 51 - max(0, step))
        c.scale(1, 0.6)
        c.arc(0, 0, 4.5, 0, 2 * math.pi)
        c.restore()
        c.set_source_rgba(*rgb((90, 60, 120)))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK))
        c.set_line_width(0.8)
        c.stroke()
    # the round furry body
    c.arc(cx, cy + 4, 15, 0, 2 * math.pi)
    c.set_source(rad(c, cx - 6, cy - 4, 1, 18, [(0, rgb((200, 180, 255))), (0.6, rgb((120, 100, 200))),
                                                (1, rgb((50, 36, 100)))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK))
    c.set_line_width(1.0)
    c.stroke()
    # feathery antennae
    for s in (-1, 1):
        c.move_to(cx + s * 4, cy - 9)
        c.curve_to(cx + s * 6, cy - 18, cx + s * 12 + side * 2, cy - 22, cx + s * 14 + side * 2, cy - 24)
        c.set_source_rgba(*rgb(INK))
        c.set_line_width(1.2)
        c.stroke()
        c.arc(cx + s * 14 + side * 2, cy - 24, 2.4, 0, 2 * math.pi)
        c.set_source_rgba(*rgb(MOON))
        c.fill()
    if not back:
        # a pale face: big eyes looking the way it walks, a small smile
        fx = cx + side * 3
        c.save()
        c.translate(fx, cy + 4)
        c.scale(1, 0.85)
        c.arc(0, 0, 10, 0, 2 * math.pi)
        c.restore()
        c.set_source_rgba(*rgb((235, 225, 255)))
        c.fill()
        for s in (-1, 1):
            ex = fx + s * 4.2 + side * 1.2
            c.arc(ex, cy + 2, 3.0, 0, 2 * math.pi)
            c.set_source_rgba(*rgb(INK))
            c.fill()
            c.arc(ex - 0.9, cy + 1.0, 1.0, 0, 2 * math.pi)
            c.set_source_rgba(1, 1, 1, 1)
            c.fill()
        c.arc(fx + side * 1.2, cy + 6.5, 3.0, 0.2 * math.pi, 0.8 * math.pi)
        c.set_source_rgba(*rgb(INK))
        c.set_line_width(0.9)
        c.stroke()
        for s in (-1, 1):
            c.arc(fx + s * 7 + side, cy + 6, 1.8, 0, 2 * math.pi)
            c.set_source_rgba(1, 0.55, 0.7, 0.6)
            c.fill()
    else:
        # the back: the seam of its wing cases and three glowing spots
        c.move_to(cx, cy - 10)
        c.curve_to(cx + side * 2, cy, cx + side * 2, cy + 10, cx, cy + 18)
        c.set_source_rgba(*rgb(INK, 0.7))
        c.set_line_width(1.0)
        c.stroke()
        for dx, dy in ((-6, -2), (6, -2), (0, 9)):
            c.arc(cx + dx + side, cy + dy, 2.2, 0, 2 * math.pi)
            c.set_source_rgba(*rgb(MOON, 0.75))
            c.fill()
    # rim light up-left
    c.arc(cx, cy + 4, 14, math.pi * 1.05, math.pi * 1.45)
    c.set_source_rgba(*rgb(MOON, 0.8))
    c.set_line_width(1.2)
    c.stroke()
    out = under(cv, blurred_shadow(cv, 1.2, 0.5))
    return under(out, glow_of(cv, 3, (200, 180, 255), 0.35)).image()


def overlay(kind, size=80):
    cv = Canvas(size, size)
    c = cv.ctx
    m = size / 2.0
    rnd = random.Random(kind)
    if kind == "complete":
        # a wreath of small moonflowers
        for k in range(14):
            a = k * 2 * math.pi / 14
            x, y = m + math.cos(a) * 32, m + math.sin(a) * 32
            for j in range(5):
                b = a + j * 2 * math.pi / 5
                c.arc(x + math.cos(b) * 3, y + math.sin(b) * 3, 2.6, 0, 2 * math.pi)
                c.set_source_rgba(*rgb((255, 250, 230), 0.95))
                c.fill()
            c.arc(x, y, 1.6, 0, 2 * math.pi)
            c.set_source_rgba(*rgb(GOLD))
            c.fill()
        out = under(cv, glow_of(cv, 3, MOON, 0.9))
        return out.image()
    if kind == "lock":
        cx, cy = m, m + 6
        c.new_sub_path()
        c.arc(cx, cy - 10, 10, math.pi, 2 * math.pi)
        c.set_line_width(4.5)
        c.set_source_rgba(*rgb(INK))
        c.stroke_preserve()
        c.set_line_width(2.6)
        c.set_source_rgba(*rgb((220, 225, 240)))
        c.stroke()
        rounded_rect(c, cx - 15, cy - 10, 30, 24, 4)
        c.set_source(lin(c, 0, cy - 10, 0, cy + 14, [(0, rgb((255, 235, 160))), (0.5, rgb(GOLD)),
                                                     (1, rgb((150, 95, 30)))]))
        c.fill_preserve()
        c.set_source_rgba(*rgb(INK))
        c.set_line_width(1.2)
        c.stroke()
        c.arc(cx, cy + 0.5, 3, 0, 2 * math.pi)
        c.fill()
        c.rectangle(cx - 1.1, cy + 1, 2.2, 7)
        c.fill()
        return under(cv, blurred_shadow(cv, 1.5, 0.6)).image()
    if kind == "animation":
        c.arc(m, m, m, 0, 2 * math.pi)
        c.set_source(rad(c, m, m, 0, m, [(0, rgb(MOON, 0.55)), (0.6, rgb(GOLD, 0.2)), (1, rgb(GOLD, 0))]))
        c.fill()
        for k in range(10):
            a = rnd.uniform(0, 2 * math.pi)
            r = rnd.uniform(8, 34)
            x, y = m + math.cos(a) * r, m + math.sin(a) * r
            c.arc(x, y, 2.5, 0, 2 * math.pi)
            c.set_source(rad(c, x, y, 0, 2.5, [(0, (1, 1, 0.85, 1)), (1, (1, 0.9, 0.5, 0))]))
            c.fill()
        return cv.image()
    # clouds: overlapping puffs of night mist
    for _ in range(16):
        x, y = rnd.uniform(16, size - 16), rnd.uniform(24, size - 18)
        r = rnd.uniform(12, 20)
        c.arc(x, y, r, 0, 2 * math.pi)
        c.set_source(rad(c, x - r * 0.3, y - r * 0.4, 0, r, [(0, rgb((190, 190, 225), 0.95)),
                                                               (1, rgb(MIST, 0.85))]))
        c.fill()
    return under(cv, blurred_shadow(cv, 2, 0.5)).image()


def trophies():
    """The trophy room's wall: a dusk panel with fourteen round niches in two
    rows, each niche a moonlit hollow for one artifact."""
    cv = Canvas(W, H)
    c = cv.ctx
    c.rectangle(0, 0, W, H)
    c.set_source(lin(c, 0, 0, 0, H, [(0, rgb((30, 26, 66))), (1, rgb(NIGHT))]))
    c.fill()
    for row in range(2):
        y = 170 + row * 130
        c.rectangle(40, y + 34, 560, 10)
        c.set_source(lin(c, 0, y + 34, 0, y + 44, [(0, rgb((200, 150, 90))), (1, rgb((90, 60, 30)))]))
        c.fill()
        for k in range(7):
            x = 80 + k * 80
            c.arc(x, y, 30, 0, 2 * math.pi)
            c.set_source(rad(c, x + 6, y + 8, 2, 32, [(0, rgb((14, 12, 34))), (1, rgb((60, 54, 110)))]))
            c.fill_preserve()
            c.set_source_rgba(*rgb(GOLD, 0.8))
            c.set_line_width(1.5)
            c.stroke()
    return cv.image("RGB")


def trophy_slot(n):
    """The place of artifact n (1..14) in the trophy room: its centre."""
    row, k = divmod(n - 1, 7)
    return 80 + k * 80, 170 + row * 130


def main(out):
    os.makedirs(out, exist_ok=True)
    for number in (1, 2):
        save_png(page(number), os.path.join(out, "page%d.png" % number))
    for state in ("normal", "hover", "disabled"):
        save_png(stone(state), os.path.join(out, "stone_%s.png" % state))
    save_png(quib("stay"), os.path.join(out, "quib_stay.png"))
    for pose in ("1", "2", "3", "4"):
        save_png(quib(pose), os.path.join(out, "quib%s.png" % pose))
    for kind, name in (("complete", "location_complete"), ("lock", "location_lock"),
                       ("animation", "location_animation"), ("clouds", "clouds")):
        save_png(overlay(kind), os.path.join(out, name + ".png"))
    save_png(trophies(), os.path.join(out, "trophies.png"))


if __name__ == "__main__":
    main(sys.argv[1])
