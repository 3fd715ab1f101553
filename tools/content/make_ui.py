#!/usr/bin/env python3
"""Draws the shell pictures into OUT (content/data/img/ui): the logo, the
splash and main backgrounds, the dialog panels, buttons, check box, track
bar, list box frame, edit field and caret, the cursor and
the splash's loading ornament.
    make_ui.py OUT
"""
import math
import os
import random
import sys

import cairo
import numpy as np
from PIL import Image, ImageFilter

from artlib import (DUSK, GOLD, INK, MIST, MOON, NIGHT, SS, Canvas, blurred_shadow, glow_of, lin,
                    mix, rad, rgb, rounded_rect, save_png)
from make_board import draw_flower, petal

TITLE_FONT = "/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf"


def frame(w, h, radius, body, border=GOLD, shadow=True, inset=3, opaque=False):
    """A rounded panel: dark glass body, golden rim lit from the upper left.
    An opaque body (the dialogs') hides the screen below it completely."""
    cv = Canvas(w, h)
    c = cv.ctx
    m = inset
    rounded_rect(c, m, m, w - 2 * m, h - 2 * m, radius)
    c.set_source(lin(c, 0, m, 0, h - m, [(0, rgb(mix(body, MIST, 0.25), 1 if opaque else 0.96)),
                                        (1, rgb(mix(body, NIGHT, 0.5), 1 if opaque else 0.97))]))
    c.fill()
    rounded_rect(c, m + 0.8, m + 0.8, w - 2 * m - 1.6, h - 2 * m - 1.6, radius - 0.8)
    c.set_source(lin(c, 0, 0, w * 0.3, h, [(0, rgb(mix(border, (255, 255, 255), 0.4))), (0.5, rgb(border)),
                                           (1, rgb(mix(border, INK, 0.55)))]))
    c.set_line_width(1.8)
    c.stroke()
    rounded_rect(c, m + 2.5, m + 2.5, w - 2 * m - 5, h - 2 * m - 5, radius - 2.5)
    c.set_source_rgba(*rgb(MOON, 0.18))
    c.set_line_width(0.8)
    c.stroke()
    if not shadow:
        return cv
    out = cv.layer()
    out.paint_layer(blurred_shadow(cv, 1.2, 0.6))
    out.paint_layer(cv)
    return out


def button(w, h, state):
    body = {"normal": (70, 60, 140), "hover": (110, 90, 190), "pressed": (52, 44, 110), "disabled": (70, 70, 86)}[state]
    border = {"normal": GOLD, "hover": (255, 226, 140), "pressed": GOLD, "disabled": (130, 130, 140)}[state]
    cv = Canvas(w, h)
    c = cv.ctx
    m = 3
    r = (h - 2 * m) / 2
    rounded_rect(c, m, m, w - 2 * m, h - 2 * m, r)
    c.set_source(lin(c, 0, m, 0, h - m, [(0, rgb(mix(body, (255, 255, 255), 0.25))), (0.5, rgb(body)),
                                         (1, rgb(mix(body, NIGHT, 0.45)))]))
    c.fill()
    # gloss
    rounded_rect(c, m + 4, m + 2, w - 2 * m - 8, (h - 2 * m) * 0.45, r * 0.8)
    c.set_source(lin(c, 0, m, 0, m + (h - 2 * m) * 0.5, [(0, (1, 1, 1, 0.32 if state != "disabled" else 0.12)),
                                                          (1, (1, 1, 1, 0.03))]))
    c.fill()
    rounded_rect(c, m + 0.8, m + 0.8, w - 2 * m - 1.6, h - 2 * m - 1.6, r - 0.8)
    c.set_source(lin(c, 0, 0, 0, h, [(0, rgb(mix(border, (255, 255, 255), 0.5))), (1, rgb(mix(border, INK, 0.5)))]))
    c.set_line_width(1.6)
    c.stroke()
    out = cv.layer()
    if state == "hover":
        out.paint_layer(glow_of(cv, 2.0, (255, 220, 140), 0.8))
    if state != "pressed":
        out.paint_layer(blurred_shadow(cv, 1.0, 0.55))
    out.paint_layer(cv)
    return out.image()


def checkbox(on):
    cv = Canvas(28, 28)
    c = cv.ctx
    rounded_rect(c, 3, 3, 22, 22, 5)
    c.set_source(lin(c, 0, 3, 0, 25, [(0, rgb(mix(NIGHT, (0, 0, 0), 0.3))), (1, rgb(mix(DUSK, MIST, 0.3)))]))
    c.fill_preserve()
    c.set_source(lin(c, 0, 0, 0, 28, [(0, rgb((255, 240, 190))), (1, rgb((150, 100, 40)))]))
    c.set_line_width(1.5)
    c.stroke()
    if on:
        c.move_to(8, 14.5)
        c.line_to(12.5, 19.5)
        c.line_to(21, 8)
        c.set_line_cap(cairo.LINE_CAP_ROUND)
        c.set_line_join(cairo.LINE_JOIN_ROUND)
        c.set_source_rgba(*rgb(INK, 0.8))
        c.set_line_width(4.2)
        c.stroke_preserve()
        c.set_source(lin(c, 0, 8, 0, 20, [(0, rgb((220, 255, 200))), (1, rgb((96, 208, 96)))]))
        c.set_line_width(2.6)
        c.stroke()
    out = cv.layer()
    if on:
        out.paint_layer(glow_of(cv, 1.5, (200, 255, 180), 0.35))
    out.paint_layer(blurred_shadow(cv, 0.8, 0.5))
    out.paint_layer(cv)
    return out.image()


def track(w):
    cv = Canvas(w, 16)
    c = cv.ctx
    rounded_rect(c, 3, 5, w - 6, 6, 3)
    c.set_source(lin(c, 0, 5, 0, 11, [(0, rgb(INK)), (1, rgb(mix(DUSK, MIST, 0.4)))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(GOLD, 0.8))
    c.set_line_width(0.8)
    c.stroke()
    return cv.image()


def track_fill(w):
    cv = Canvas(w, 16)
    c = cv.ctx
    rounded_rect(c, 3, 5.5, w - 6, 5, 2.5)
    c.set_source(lin(c, 0, 5, 0, 11, [(0, rgb((255, 240, 170))), (1, rgb((220, 150, 50)))]))
    c.fill()
    return cv.image()


def thumb():
    cv = Canvas(24, 24)
    c = cv.ctx
    for k in range(5):
        petal(c, 12, 12, -math.pi / 2 + k * 2 * math.pi / 5, 9.5, 8, "round")
    c.set_source(rad(c, 9, 9, 0, 12, [(0, rgb((255, 250, 220))), (0.6, rgb(GOLD)), (1, rgb((140, 80, 20)))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK, 0.85))
    c.set_line_width(0.7)
    c.stroke()
    c.arc(12, 12, 3, 0, 2 * math.pi)
    c.set_source_rgba(*rgb((190, 90, 30)))
    c.fill()
    out = cv.layer()
    out.paint_layer(blurred_shadow(cv, 1.0, 0.6))
    out.paint_layer(cv)
    return out.image()


def edit_field(w, h, focus):
    cv = Canvas(w, h)
    c = cv.ctx
    rounded_rect(c, 2, 2, w - 4, h - 4, 6)
    c.set_source(lin(c, 0, 2, 0, h - 2, [(0, rgb((8, 8, 24), 0.95)), (1, rgb(mix(NIGHT, MIST, 0.2), 0.95))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb((255, 226, 140) if focus else mix(GOLD, MIST, 0.5)))
    c.set_line_width(1.4)
    c.stroke()
    # inner shadow at the top: the field is sunk into the panel
    rounded_rect(c, 3.5, 3.5, w - 7, 5, 3)
    c.set_source(lin(c, 0, 3, 0, 9, [(0, (0, 0, 0, 0.45)), (1, (0, 0, 0, 0))]))
    c.fill()
    out = cv.layer()
    if focus:
        out.paint_layer(glow_of(cv, 1.6, (255, 220, 140), 0.45))
    out.paint_layer(cv)
    return out.image()


def caret():
    cv = Canvas(4, 22)
    c = cv.ctx
    rounded_rect(c, 1, 1, 2, 20, 1)
    c.set_source_rgba(*rgb(MOON))
    c.fill()
    return cv.image()


def list_selection(w, h):
    cv = Canvas(w, h)
    c = cv.ctx
    rounded_rect(c, 1, 1, w - 2, h - 2, 4)
    c.set_source(lin(c, 0, 0, 0, h, [(0, rgb((150, 120, 220), 0.85)), (1, rgb((90, 70, 170), 0.85))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(MOON, 0.6))
    c.set_line_width(0.8)
    c.stroke()
    return cv.image()


def cursor():
    """A pointer with a leaf tail. Hot spot at (2, 2), the arrow's tip."""
    cv = Canvas(32, 32)
    c = cv.ctx
    c.move_to(2, 2)
    c.line_to(2, 22)
    c.line_to(7, 17.5)
    c.line_to(11, 26)
    c.line_to(14.5, 24.5)
    c.line_to(10.8, 16.2)
    c.line_to(17.5, 16)
    c.close_path()
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.set_source(lin(c, 2, 2, 14, 24, [(0, rgb((255, 252, 235))), (0.6, rgb(MOON)), (1, rgb(GOLD))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK))
    c.set_line_width(1.3)
    c.stroke()
    petal(c, 15.5, 20, 0.7, 10, 5.5, "point")  # a small leaf at the tail
    c.set_source(lin(c, 15, 20, 24, 28, [(0, rgb((170, 240, 140))), (1, rgb((40, 120, 50)))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK))
    c.set_line_width(0.8)
    c.stroke()
    out = cv.layer()
    out.paint_layer(blurred_shadow(cv, 1.0, 0.5))
    out.paint_layer(cv)
    return out.image()


def sky(w, h, seed, moon_at, horizon):
    rnd = random.Random(seed)
    cv = Canvas(w, h)
    c = cv.ctx
    c.rectangle(0, 0, w, h)
    c.set_source(lin(c, 0, 0, 0, h, [(0, rgb((10, 12, 36))), (0.55, rgb((46, 36, 96))), (0.8, rgb((110, 60, 120))),
                                     (1, rgb((40, 24, 60)))]))
    c.fill()
    # stars
    for _ in range(160):
        x, y = rnd.uniform(0, w), rnd.uniform(0, h * 0.6)
        s = rnd.choice([0.4, 0.5, 0.6, 0.8, 1.1])
        c.arc(x, y, s, 0, 2 * math.pi)
        c.set_source_rgba(1, 0.97, 0.9, rnd.uniform(0.35, 0.95))
        c.fill()
    mx, my, mr = moon_at
    c.arc(mx, my, mr * 3.2, 0, 2 * math.pi)
    c.set_source(rad(c, mx, my, mr, mr * 3.2, [(0, rgb(MOON, 0.35)), (1, rgb(MOON, 0))]))
    c.fill()
    c.arc(mx, my, mr, 0, 2 * math.pi)
    c.set_source(rad(c, mx - mr * 0.3, my - mr * 0.3, 0, mr, [(0, rgb((255, 252, 235))), (1, rgb(MOON))]))
    c.fill()
    for (dx, dy, rr) in ((-0.3, 0.1, 0.18), (0.25, -0.2, 0.12), (0.1, 0.35, 0.1)):
        c.arc(mx + dx * mr, my + dy * mr, rr * mr, 0, 2 * math.pi)
        c.set_source_rgba(0.85, 0.75, 0.5, 0.35)
        c.fill()
    # three layers of hills, nearer is darker
    for k, (base, col) in enumerate(((horizon - 30, (60, 44, 100)), (horizon, (36, 28, 70)),
                                     (horizon + 40, (20, 16, 44)))):
        c.move_to(0, h)
        phase = rnd.uniform(0, 6.28)
        for x in range(0, w + 9, 8):
            y = base + 18 * math.sin(x / (90 + 30 * k) + phase) + 8 * math.sin(x / 37.0 + phase * 2)
            c.line_to(x, y)
        c.line_to(w, h)
        c.close_path()
        c.set_source_rgba(*rgb(col))
        c.fill()
    # mist over the far hills
    c.rectangle(0, horizon - 60, w, 120)
    c.set_source(lin(c, 0, horizon - 60, 0, horizon + 60, [(0, rgb(MIST, 0)), (0.5, rgb((170, 150, 210), 0.22)),
                                                            (1, rgb(MIST, 0))]))
    c.fill()
    # fireflies
    for _ in range(40):
        x, y = rnd.uniform(0, w), rnd.uniform(horizon - 40, h)
        c.arc(x, y, 3.5, 0, 2 * math.pi)
        c.set_source(rad(c, x, y, 0, 3.5, [(0, (1, 1, 0.7, 0.8)), (1, (1, 0.9, 0.4, 0))]))
        c.fill()
    # glowing flowers along the lower corners on curved stems with leaves;
    # the middle stays calm for the board and the dialogs
    blooms = []
    for k in range(24):
        col, shp = (k * 3) % 7 + 1, rnd.randint(1, 7)  # every colour in turn
        scale = rnd.uniform(0.9, 1.7)
        left = rnd.random() < 0.5
        x = rnd.uniform(0, w * 0.2) if left else rnd.uniform(w * 0.8, w - 10)
        y = rnd.uniform(h - 130, h - 30)
        blooms.append((scale, col, shp, x, y, rnd.uniform(-18, 18), rnd.random()))
    blooms.sort()
    for scale, col, shp, x, y, bend, leaf in blooms:
        c.move_to(x + bend * 0.6, h + 4)
        c.curve_to(x + bend, h - (h - y) * 0.3, x - bend * 0.5, y + (h - y) * 0.4, x, y)
        c.set_source(lin(c, 0, y, 0, h, [(0, rgb((70, 150, 90))), (1, rgb((18, 50, 40)))]))
        c.set_line_width(1.6 + scale)
        c.stroke()
        ly = y + (h - y) * (0.45 + 0.3 * leaf)
        lx = x + bend * 0.2
        petal(c, lx, ly, -math.pi / 2 + (0.9 if leaf > 0.5 else -0.9) - 0.4, 10 * scale, 5 * scale, "point")
        c.set_source(lin(c, lx - 8, ly - 8, lx + 8, ly + 8, [(0, rgb((120, 200, 110))), (1, rgb((24, 70, 44)))]))
        c.fill()
    img = cv.image()
    for scale, col, shp, x, y, bend, leaf in blooms:
        fl = draw_flower(col, shp, scale * 44 / 50.0)
        img.alpha_composite(fl, (int(x - fl.width / 2), int(y - fl.height / 2)))
    return img


def loading_ornament():
    """The splash's loading ornament, 40 x 40: eight golden petals round a
    moonlit centre, fading along the circle, so that turning it reads as a
    comet chasing its tail."""
    cv = Canvas(40, 40)
    c = cv.ctx
    for k in range(8):
        a = -math.pi / 2 + k * math.pi / 4  # petal 0 points up, the rest follow clockwise
        strength = 1.0 - k / 9.0
        petal(c, 20, 20, a, 17, 6.5 * (0.6 + 0.4 * strength), "point", 7)
        c.set_source_rgba(*rgb(mix(GOLD, MOON, 0.5 * strength), 0.25 + 0.75 * strength ** 1.5))
        c.fill()
    c.arc(20, 20, 4.5, 0, 2 * math.pi)
    c.set_source(rad(c, 20, 20, 0, 4.5, [(0, rgb(MOON)), (1, rgb(GOLD, 0.8))]))
    c.fill()
    return cv.image()


def logo():
    from PIL import ImageDraw, ImageFont
    w, h = 420, 130
    big = ImageFont.truetype(TITLE_FONT, 64 * SS)
    text = "Quorvanel"
    W, H = w * SS, h * SS
    mask = Image.new("L", (W, H), 0)
    d = ImageDraw.Draw(mask)
    tw = d.textlength(text, font=big)
    x0, y0 = (W - tw) / 2, 18 * SS
    d.text((x0, y0), text, font=big, fill=255)
    a = np.asarray(mask, np.float64) / 255.0
    outline = np.asarray(mask.filter(ImageFilter.MaxFilter(4 * SS + 1)), np.float64) / 255.0
    glow = np.asarray(mask.filter(ImageFilter.MaxFilter(4 * SS + 1)).filter(ImageFilter.GaussianBlur(6 * SS)),
                      np.float64) / 255.0
    shadow = np.roll(np.roll(outline, 3 * SS, 0), 2 * SS, 1)
    shadow = np.asarray(Image.fromarray((shadow * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(2 * SS)),
                        np.float64) / 255.0
    ys = np.linspace(0, 1, H)[:, None] * np.ones((1, W))
    # gold gradient from moonlight at the top to deep amber, lit rim above
    top, mid, bot = np.array(MOON) / 255, np.array(GOLD) / 255, np.array((190, 100, 40)) / 255
    t = np.clip((ys - y0 / H) / (64 * SS * 1.05 / H), 0, 1)[:, :, None]
    fill = np.where(t < 0.5, top + (mid - top) * (t / 0.5), mid + (bot - mid) * ((t - 0.5) / 0.5))
    lit = np.clip(a - np.roll(np.roll(a, SS, 0), SS, 1), 0, 1)[:, :, None]
    fill = fill * (1 - lit) + lit * 1.0
    out = np.zeros((H, W, 4))

    def over(colour, alpha):
        nonlocal out
        colour = np.broadcast_to(colour, (H, W, 3))
        out[:, :, :3] = colour * alpha[:, :, None] + out[:, :, :3] * (1 - alpha[:, :, None])
        out[:, :, 3] = alpha + out[:, :, 3] * (1 - alpha)

    over(np.array((200, 160, 255)) / 255, glow * 0.55)
    over(np.array(INK) / 255, shadow * 0.8)
    over(np.array((40, 20, 60)) / 255, outline)
    over(fill, a)
    cv = Canvas(w, h)
    cv.load_premul(out)
    img = cv.image()
    # flowers instead of the dots and under the name
    for k, (col, shp) in enumerate(((1, 1), (2, 3), (3, 5), (5, 7), (4, 2))):
        fl = draw_flower(col, shp, 44 / 50.0).resize((30, 30), Image.LANCZOS)
        img.alpha_composite(fl, (w // 2 - 95 + k * 38, 96))
    return img


def main(out):
    for state in ("normal", "hover", "pressed", "disabled"):
        save_png(button(200, 44, state), os.path.join(out, "button_%s.png" % state))
    for state in ("normal", "hover", "disabled"):
        save_png(button(150, 44, state), os.path.join(out, "button_small_%s.png" % state))
    for state in ("normal", "hover", "disabled"):
        save_png(button(44, 44, state), os.path.join(out, "button_round_%s.png" % state))
    # the main screen's mode buttons: the mode and the player's progress in it
    for state in ("normal", "hover", "disabled"):
        save_png(button(300, 60, state), os.path.join(out, "button_mode_%s.png" % state))
    save_png(frame(256, 192, 22, DUSK).image(), os.path.join(out, "panel.png"))
    # the shell's dialogs at their final sizes (no widget stretches a picture)
    save_png(frame(360, 200, 22, DUSK, opaque=True).image(), os.path.join(out, "panel_dialog.png"))
    save_png(frame(400, 360, 22, DUSK, opaque=True).image(), os.path.join(out, "panel_tall.png"))
    save_png(frame(440, 440, 22, DUSK, opaque=True).image(), os.path.join(out, "panel_stats.png"))
    save_png(frame(320, 300, 22, DUSK).image(), os.path.join(out, "panel_rules.png"))
    save_png(frame(220, 160, 10, (22, 22, 50), shadow=False, inset=1).image(), os.path.join(out, "listbox.png"))
    save_png(list_selection(200, 22), os.path.join(out, "listbox_selection.png"))
    save_png(checkbox(False), os.path.join(out, "checkbox_off.png"))
    save_png(checkbox(True), os.path.join(out, "checkbox_on.png"))
    save_png(track(200), os.path.join(out, "trackbar.png"))
    save_png(track_fill(200), os.path.join(out, "trackbar_fill.png"))
    save_png(thumb(), os.path.join(out, "trackbar_thumb.png"))
    save_png(edit_field(240, 32, False), os.path.join(out, "edit.png"))
    save_png(edit_field(240, 32, True), os.path.join(out, "edit_focus.png"))
    save_png(caret(), os.path.join(out, "edit_caret.png"))
    save_png(cursor(), os.path.join(out, "cursor.png"))
    save_png(logo(), os.path.join(out, "logo.png"))
    save_png(loading_ornament(), os.path.join(out, "loading.png"))
    save_png(sky(640, 480, 11, (470, 110, 46), 330).convert("RGB"), os.path.join(out, "background_splash.png"))
    save_png(sky(640, 480, 23, (90, 70, 30), 360).convert("RGB"), os.path.join(out, "background_main.png"))


if __name__ == "__main__":
    main(sys.argv[1])
