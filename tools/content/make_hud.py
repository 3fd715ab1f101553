#!/usr/bin/env python3
"""Draws the pictures around the board into OUT (content/data/img/board):
the game screen's background, the tutorial's hint panel, the frame of a
score or level display and the pointing hand the computer clicks with.
    make_hud.py OUT
"""
import math
import os
import sys

import cairo
import numpy as np
from PIL import Image, ImageFilter

from artlib import DUSK, GOLD, INK, MOON, NIGHT, SS, Canvas, blurred_shadow, lin, mix, rgb, rounded_rect, save_png
from make_ui import frame, sky

# The calm board area of the background and the strip above it.
BOARD_AREA = (20, 38, 620, 472)
STRIP_H = 34


def background_game():
    """The night garden with a darker, calmer bed for the board and a
    strip along the top for the score and level displays."""
    img = sky(640, 480, 37, (560, 17, 11), 380)
    veil = Canvas(640, 480)
    c = veil.ctx
    x0, y0, x1, y1 = BOARD_AREA
    rounded_rect(c, x0, y0, x1 - x0, y1 - y0, 26)
    c.set_source_rgba(*rgb(mix(NIGHT, INK, 0.5), 0.8))
    c.fill()
    a = veil.premul()
    mask = Image.fromarray(np.clip(a[:, :, 3] * 255 + 0.5, 0, 255).astype(np.uint8), "L")
    alpha = np.asarray(mask.filter(ImageFilter.GaussianBlur(10 * SS)), np.float64) / 255.0
    col = mix(NIGHT, INK, 0.5)
    out = np.zeros(a.shape)
    for i in range(3):
        out[:, :, i] = col[i] / 255.0 * alpha
    out[:, :, 3] = alpha
    veil.load_premul(out)
    # the strip: dusk glass with a gold line under it
    c.rectangle(0, 0, 640, STRIP_H)
    c.set_source(lin(c, 0, 0, 0, STRIP_H, [(0, rgb(mix(DUSK, NIGHT, 0.5), 0.55)), (1, rgb(mix(DUSK, NIGHT, 0.2), 0.7))]))
    c.fill()
    c.move_to(0, STRIP_H + 0.5)
    c.line_to(640, STRIP_H + 0.5)
    c.set_source(lin(c, 0, 0, 640, 0, [(0, rgb(GOLD, 0.15)), (0.5, rgb(GOLD, 0.9)), (1, rgb(GOLD, 0.15))]))
    c.set_line_width(1.2)
    c.stroke()
    c.move_to(0, STRIP_H + 2.2)
    c.line_to(640, STRIP_H + 2.2)
    c.set_source_rgba(*rgb(INK, 0.6))
    c.set_line_width(1.0)
    c.stroke()
    img.alpha_composite(veil.image())
    return img.convert("RGB")


def hint_panel():
    return frame(320, 110, 18, DUSK).image()


def score_panel():
    """A small frame with a sunk display window for a number."""
    cv = frame(150, 56, 14, DUSK)
    c = cv.ctx
    rounded_rect(c, 12, 12, 126, 32, 8)
    c.set_source(lin(c, 0, 12, 0, 44, [(0, rgb(INK, 0.85)), (0.3, rgb(NIGHT, 0.8)), (1, rgb(mix(NIGHT, DUSK, 0.5), 0.8))]))
    c.fill()
    rounded_rect(c, 12.5, 12.5, 125, 31, 7.5)
    c.set_source(lin(c, 0, 12, 0, 44, [(0, rgb(INK, 0.9)), (1, rgb(MOON, 0.35))]))
    c.set_line_width(1.0)
    c.stroke()
    return cv.image()


# The fingertip of the pointing hand; the board places the picture so that
# this pixel lies on the cell being clicked.
HAND_HOT_SPOT = (9, 2)


def pointer_hand():
    """A moonlit glove pointing up, its index fingertip at HAND_HOT_SPOT."""
    cv = Canvas(36, 36)
    c = cv.ctx
    c.save()
    c.translate(9, 2)
    c.rotate(-0.32)
    path = []
    # index finger, palm, curled fingers and thumb, in the glove's own frame
    rounded_rect(c, -3.2, 0, 6.4, 19, 3.2)
    rounded_rect(c, -4, 12, 18, 16, 5)
    rounded_rect(c, 2.8, 10.5, 5.4, 9, 2.7)
    rounded_rect(c, 7.6, 12, 5.2, 8.5, 2.6)
    c.new_sub_path()
    c.save()
    c.translate(-4.5, 17)
    c.rotate(-0.7)
    rounded_rect(c, -2.6, -7, 5.2, 10, 2.6)
    c.restore()
    del path
    c.set_fill_rule(cairo.FILL_RULE_WINDING)
    c.set_source(lin(c, -4, 0, 14, 28, [(0, rgb((255, 255, 250))), (0.6, rgb((236, 230, 244))),
                                        (1, rgb((170, 160, 200)))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK))
    c.set_line_width(1.1)
    c.stroke()
    # the knuckle lines and a gold cuff
    for x in (2.8, 7.6):
        c.move_to(x, 13)
        c.line_to(x, 19)
    c.set_source_rgba(*rgb(INK, 0.55))
    c.set_line_width(0.7)
    c.stroke()
    rounded_rect(c, -4.5, 26, 19, 5.5, 2)
    c.set_source(lin(c, 0, 26, 0, 31.5, [(0, rgb((255, 240, 180))), (0.5, rgb(GOLD)), (1, rgb((140, 90, 30)))]))
    c.fill_preserve()
    c.set_source_rgba(*rgb(INK))
    c.set_line_width(0.9)
    c.stroke()
    c.restore()
    out = cv.layer()
    out.paint_layer(blurred_shadow(cv, 1.0, 0.55))
    out.paint_layer(cv)
    return out.image()


def main(out):
    save_png(background_game(), os.path.join(out, "background_game.png"))
    save_png(hint_panel(), os.path.join(out, "hint_panel.png"))
    save_png(score_panel(), os.path.join(out, "score_panel.png"))
    save_png(pointer_hand(), os.path.join(out, "pointer_hand.png"))


if __name__ == "__main__":
    main(sys.argv[1])
