"""Shared drawing helpers for the content generators.

Every picture is drawn with cairo at SS times its final size and reduced by
averaging SS x SS blocks in premultiplied space, so edges are anti-aliased
and the alpha edge stays clean (no dark or light fringe). Pictures are saved
as straight 8-bit RGBA (or RGB) PNG without time stamps.
"""
import math
import os

import cairo
import numpy as np
from PIL import Image, ImageFilter

SS = 4  # supersampling factor

# The palette (see docs/ART.md). Flower colours 1..8 (the tens digit of a
# flower code): base, light, dark. The hues follow the colours the board
# flies out of completed cells (red, rose, orange, yellow, teal, blue,
# purple, pearl); brightness is spread as far as each hue allows.
FLOWER_COLOURS = {
    1: ((238, 40, 30), (255, 160, 140), (112, 10, 16)),     # red      grey 98
    2: ((230, 72, 160), (255, 172, 220), (104, 16, 72)),    # rose     grey 129
    3: ((245, 130, 35), (255, 206, 140), (132, 52, 8)),     # orange   grey 154
    4: ((255, 226, 80), (255, 250, 190), (150, 110, 14)),   # yellow   grey 217
    5: ((70, 220, 225), (190, 255, 255), (10, 100, 118)),   # teal     grey 176
    6: ((40, 48, 205), (140, 150, 255), (14, 14, 96)),      # blue     grey 64
    7: ((140, 30, 190), (214, 140, 255), (60, 6, 88)),      # purple   grey 81
    8: ((236, 234, 226), (255, 255, 255), (136, 134, 150)),  # pearl    grey 234
}
# The colours the board starts a flying colour with (the tens digit).
FLY_COLOURS = {1: (0xFF, 0x0A, 0x00), 2: (0xE3, 0x42, 0x9B), 3: (0xE5, 0x6C, 0x17), 4: (0xFF, 0xF0, 0x6A),
               5: (0x1B, 0xBB, 0xCC), 6: (0x26, 0x24, 0xC8), 7: (0x80, 0x07, 0x9B), 8: (0xDD, 0xDB, 0xD5)}
NIGHT = (18, 22, 48)        # deepest background
DUSK = (44, 40, 92)         # panel body
MIST = (92, 110, 170)       # cell glass, secondary lines
MOON = (255, 232, 170)      # rim light and highlights
GOLD = (240, 196, 90)       # frames, selection
INK = (12, 10, 30)          # outlines and shadows
# Light comes from the upper left: shadows fall to the lower right.
SHADOW_DX, SHADOW_DY = 1.5, 2.0

# The board: cell (c, r) has its centre at (c * COL_STEP, r * ROW_STEP),
# plus ROW_STEP / 2 for every even column; flat-topped hexagons of
# circumradius about 34.6 tile that pitch. Every board picture is drawn
# centred on its canvas.
HEX_R = 34.6                # circumradius of the tiling
COL_STEP, ROW_STEP = 53, 60
CELL_W, CELL_H = 72, 62     # the cell picture
FLOWER_SIZE = 50            # flowers, contours, artifacts
RING_W, RING_H = 80, 70     # selection and hover rings
MAT_W, MAT_H = 80, 70       # the mat under a cell


def rgb(c, a=1.0):
    return (c[0] / 255.0, c[1] / 255.0, c[2] / 255.0, a)


class Canvas:
    """A cairo surface at SS x the final size; the context's user space is
    in final pixels."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w * SS, h * SS)
        self.ctx = cairo.Context(self.surface)
        self.ctx.scale(SS, SS)
        self.ctx.set_antialias(cairo.ANTIALIAS_GOOD)

    def premul(self):
        """Premultiplied RGBA float array at SS resolution."""
        self.surface.flush()
        buf = np.ndarray((self.h * SS, self.w * SS, 4), np.uint8, self.surface.get_data(),
                         strides=(self.surface.get_stride(), 4, 1))
        bgra = buf.astype(np.float64) / 255.0
        return bgra[:, :, [2, 1, 0, 3]].copy()

    def load_premul(self, arr):
        data = np.clip(arr[:, :, [2, 1, 0, 3]] * 255.0 + 0.5, 0, 255).astype(np.uint8)
        self.surface.flush()
        buf = np.ndarray((self.h * SS, self.w * SS, 4), np.uint8, self.surface.get_data(),
                         strides=(self.surface.get_stride(), 4, 1))
        buf[:, :, :] = data
        self.surface.mark_dirty()

    def layer(self):
        return Canvas(self.w, self.h)

    def paint_layer(self, other, alpha=1.0, op=cairo.OPERATOR_OVER):
        c = self.ctx
        c.save()
        c.identity_matrix()
        c.set_source_surface(other.surface, 0, 0)
        c.set_operator(op)
        c.paint_with_alpha(alpha)
        c.restore()

    def image(self, mode="RGBA"):
        return downsample(self.premul(), mode)


def downsample(premul, mode="RGBA"):
    h, w = premul.shape[0] // SS, premul.shape[1] // SS
    small = premul.reshape(h, SS, w, SS, 4).mean(axis=(1, 3))
    a = small[:, :, 3:4]
    colour = np.where(a > 1e-6, small[:, :, :3] / np.maximum(a, 1e-6), 0.0)
    out = np.concatenate([colour, a], axis=2)
    out = np.clip(out * 255.0 + 0.5, 0, 255).astype(np.uint8)
    img = Image.fromarray(out, "RGBA")
    if mode == "RGB":
        img = img.convert("RGB")
    return img


def blurred_shadow(canvas, radius, opacity=0.5, dx=SHADOW_DX, dy=SHADOW_DY, colour=INK):
    """A soft shadow layer of `canvas`'s silhouette, offset down-right."""
    a = canvas.premul()[:, :, 3]
    img = Image.fromarray(np.clip(a * 255 + 0.5, 0, 255).astype(np.uint8), "L")
    img = img.filter(ImageFilter.GaussianBlur(radius * SS))
    sa = np.asarray(img, np.float64) / 255.0 * opacity
    sa = np.roll(np.roll(sa, int(round(dy * SS)), axis=0), int(round(dx * SS)), axis=1)
    out = np.zeros(a.shape + (4,))
    for i in range(3):
        out[:, :, i] = colour[i] / 255.0 * sa
    out[:, :, 3] = sa
    layer = canvas.layer()
    layer.load_premul(out)
    return layer


def glow_of(canvas, radius, colour, opacity=0.8):
    """A blurred, tinted halo around `canvas`'s silhouette (no offset)."""
    return blurred_shadow(canvas, radius, opacity, 0, 0, colour)


def under(top, bottom):
    """`bottom` drawn below `top`, as a new canvas."""
    out = top.layer()
    out.paint_layer(bottom)
    out.paint_layer(top)
    return out


def save_png(img, path):
    """Straight 8-bit RGBA/RGB PNG, no ancillary chunks (deterministic)."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    assert img.mode in ("RGBA", "RGB"), img.mode
    img.save(path, "PNG", optimize=True)


def hex_path(ctx, cx, cy, r, ry=None):
    """A flat-topped hexagon of circumradius r (vertical half height ry)."""
    if ry is None:
        ry = r * math.sqrt(3) / 2
    pts = [(cx + r, cy), (cx + r / 2, cy + ry), (cx - r / 2, cy + ry), (cx - r, cy), (cx - r / 2, cy - ry),
           (cx + r / 2, cy - ry)]
    ctx.move_to(*pts[0])
    for p in pts[1:]:
        ctx.line_to(*p)
    ctx.close_path()


def rounded_hex_path(ctx, cx, cy, r, ry, corner):
    pts = [(cx + r, cy), (cx + r / 2, cy + ry), (cx - r / 2, cy + ry), (cx - r, cy), (cx - r / 2, cy - ry),
           (cx + r / 2, cy - ry)]
    n = len(pts)
    for i in range(n):
        p0, p1, p2 = pts[i - 1], pts[i], pts[(i + 1) % n]
        v1 = (p0[0] - p1[0], p0[1] - p1[1])
        v2 = (p2[0] - p1[0], p2[1] - p1[1])
        l1, l2 = math.hypot(*v1), math.hypot(*v2)
        a = (p1[0] + v1[0] / l1 * corner, p1[1] + v1[1] / l1 * corner)
        b = (p1[0] + v2[0] / l2 * corner, p1[1] + v2[1] / l2 * corner)
        if i == 0:
            ctx.move_to(*a)
        else:
            ctx.line_to(*a)
        ctx.curve_to(p1[0], p1[1], p1[0], p1[1], *b)
    ctx.close_path()


def rounded_rect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
    ctx.close_path()


def lin(ctx, x0, y0, x1, y1, stops):
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for off, col in stops:
        g.add_color_stop_rgba(off, *col)
    return g


def rad(ctx, cx, cy, r0, r1, stops, fx=None, fy=None):
    g = cairo.RadialGradient(cx if fx is None else fx, cy if fy is None else fy, r0, cx, cy, r1)
    for off, col in stops:
        g.add_color_stop_rgba(off, *col)
    return g


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))
