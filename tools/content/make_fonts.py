#!/usr/bin/env python3
"""Renders the bitmap fonts into OUT (content/data/fonts): one glyph atlas
PNG per font and one resource list, fonts.xml, whose FontResource elements
carry the symbol table (scancode = code point, left/top/width/height = the
glyph's rectangle in the atlas).

Every glyph rectangle is one full line high with the baseline on the same
row, and as wide as the glyph's advance plus the outline width, so the text
layout can place glyphs side by side at their tops without leading or
trailing.
    make_fonts.py OUT
"""
import math
import os
import sys
from xml.sax.saxutils import quoteattr

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

from artlib import GOLD, INK, MOON, SS, save_png

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
DEJAVU_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
COMFORTAA_BOLD = "/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf"

# name, file, pixel size, fill top, fill bottom, outline px, outline colour, shadow (dx, dy, opacity)
# and, for the board's combination texts, an optional glow (px, colour, opacity) around the outline
FONTS = [
    ("title", COMFORTAA_BOLD, 32, MOON, (214, 130, 50), 2.0, (40, 20, 60), (2, 2, 0.6)),
    ("button", COMFORTAA_BOLD, 18, (255, 252, 240), (230, 220, 255), 1.5, (30, 20, 60), (1, 1, 0.5)),
    ("body", DEJAVU, 13, (246, 240, 226), (246, 240, 226), 0, None, (1, 1, 0.7)),
    ("body_plain", DEJAVU, 13, (255, 255, 255), (255, 255, 255), 0, None, None),
    ("score", DEJAVU_BOLD, 12, (255, 255, 255), (255, 236, 170), 1.0, INK, None),
    ("combo1", COMFORTAA_BOLD, 30, (255, 246, 196), (222, 142, 36), 2.0, INK, None, (2.0, GOLD, 0.7)),
    ("combo2", COMFORTAA_BOLD, 28, (255, 184, 226), (146, 70, 220), 2.0, (36, 8, 46), None, (2.0, (226, 120, 255), 0.6)),
    ("combo3", COMFORTAA_BOLD, 24, (226, 248, 255), (72, 152, 240), 1.5, INK, None, (1.5, (140, 200, 255), 0.55)),
    ("combo4", COMFORTAA_BOLD, 18, (255, 255, 255), (208, 204, 220), 1.5, INK, (1, 1, 0.5)),
    ("move_score", DEJAVU_BOLD, 16, (255, 255, 255), (255, 206, 90), 1.5, INK, None),
    ("hint", DEJAVU, 14, (248, 240, 220), (248, 240, 220), 0, None, (1, 1, 0.7)),
]

CODES = list(range(32, 127)) + list(range(160, 256))
ATLAS_W = 512


def disk(radius):
    """A dilation of the alpha by a disk: the outline."""
    return lambda img: img.filter(ImageFilter.MaxFilter(2 * int(math.ceil(radius)) + 1))


def render_glyph(font, ch, cw, lh, ox, baseline, style):
    _name, _file, _size, top, bottom, outline, ocol, shadow = style[:8]
    glow = style[8] if len(style) > 8 else None
    W, H = cw * SS, lh * SS
    mask = Image.new("L", (W, H), 0)
    d = ImageDraw.Draw(mask)
    d.text((ox * SS, baseline * SS), ch, font=font, fill=255, anchor="ls")
    a = np.asarray(mask, np.float64) / 255.0
    out = np.zeros((H, W, 4))  # premultiplied

    def over(colour, alpha):
        colour = np.broadcast_to(np.asarray(colour, np.float64), (H, W, 3))
        out[:, :, :3] = colour * alpha[:, :, None] + out[:, :, :3] * (1 - alpha[:, :, None])
        out[:, :, 3] = alpha + out[:, :, 3] * (1 - alpha)

    edge = a
    if outline:
        edge = np.asarray(mask.filter(ImageFilter.MaxFilter(2 * int(round(outline * SS)) + 1)), np.float64) / 255.0
    if glow:
        gr, gcol, gop = glow
        g = np.asarray(Image.fromarray((edge * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(SS * gr * 0.7)),
                       np.float64) / 255.0
        over(np.array(gcol) / 255.0, np.clip(g * 1.6, 0, 1) * gop)
    if shadow:
        dx, dy, op = shadow
        sh = np.zeros_like(edge)
        sh[dy * SS:, dx * SS:] = edge[:H - dy * SS, :W - dx * SS]
        sh = np.asarray(Image.fromarray((sh * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(SS * 0.6)),
                        np.float64) / 255.0
        over(np.array(INK) / 255.0, sh * op)
    if outline:
        over(np.array(ocol) / 255.0, edge)
    ys = np.linspace(0, 1, H)[:, None, None]
    fill = np.array(top) / 255.0 * (1 - ys) + np.array(bottom) / 255.0 * ys
    over(fill, a)
    h, w = lh, cw
    small = out.reshape(h, SS, w, SS, 4).mean(axis=(1, 3))
    al = small[:, :, 3:4]
    col = np.where(al > 1e-6, small[:, :, :3] / np.maximum(al, 1e-6), 0)
    return Image.fromarray(np.clip(np.concatenate([col, al], 2) * 255 + 0.5, 0, 255).astype(np.uint8), "RGBA")


def make_font(style, out):
    name, path, size = style[0], style[1], style[2]
    outline, shadow = style[5], style[7]
    glow = style[8][0] if len(style) > 8 else 0
    font = ImageFont.truetype(path, size * SS)
    ascent, descent = font.getmetrics()
    pad = int(math.ceil(outline + glow)) if outline or glow else 0
    extra = (shadow[1] if shadow else 0)
    lh = int(math.ceil((ascent + descent) / SS)) + 2 * pad + extra
    baseline = pad + ascent / SS
    glyphs = []
    for code in CODES:
        ch = chr(code)
        adv = font.getlength(ch) / SS
        # the cell is the advance (plus the outline once): glyphs then sit
        # at their natural spacing; ink beyond it (rare side bearings) and
        # the shadow's last pixel are cut at the cell's edge
        cw = max(int(round(adv + outline + glow)), 1)
        glyphs.append((code, render_glyph(font, ch, cw, lh, (outline + glow) / 2, baseline, style)))
    # shelf packing, one pixel apart
    x = y = 1
    places = []
    for code, img in glyphs:
        if x + img.width + 1 > ATLAS_W:
            x, y = 1, y + lh + 1
        places.append((code, x, y, img))
        x += img.width + 1
    height = y + lh + 1
    atlas = Image.new("RGBA", (ATLAS_W, height), (0, 0, 0, 0))
    for code, gx, gy, img in places:
        atlas.paste(img, (gx, gy))
    save_png(atlas, os.path.join(out, name + ".png"))
    lines = ['  <resource type="FontResource" name=%s file=%s format="png">' %
             (quoteattr("font_" + name), quoteattr("data\\fonts\\%s.png" % name)), "   <symbols>"]
    for code, gx, gy, img in places:
        lines.append('    <symbol scancode="%d" left="%d" top="%d" width="%d" height="%d"/>' %
                     (code, gx, gy, img.width, img.height))
    lines += ["   </symbols>", "  </resource>"]
    return lines


def main(out):
    os.makedirs(out, exist_ok=True)
    body = []
    for style in FONTS:
        body += make_font(style, out)
    text = ['<?xml version="1.0" encoding="UTF-8"?>',
            "<!-- Bitmap fonts of the shell and the board, generated by tools/content/make_fonts.py. -->",
            "<resources>", " <content>"] + body + [" </content>", "</resources>", ""]
    with open(os.path.join(out, "fonts.xml"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(text))


if __name__ == "__main__":
    main(sys.argv[1])
