#!/usr/bin/env python3
"""Composes a contact sheet of the generated pictures for a visual check:
a 12 x 9 board laid out as the game lays it (odd columns half a cell lower)
over the main background, and every board and shell picture beside it.
    make_sheet.py CONTENT_DATA_DIR OUT.png
"""
import os
import random
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import CELL_H, CELL_W, COL_STEP, ROW_STEP  # noqa: E402


def load(d, name):
    return Image.open(os.path.join(d, name)).convert("RGBA")


def board(data):
    b = os.path.join(data, "img", "board")
    bg_path = os.path.join(data, "img", "ui", "background_main.png")
    scr = load(os.path.dirname(bg_path), "background_main.png") if os.path.exists(bg_path) else \
        Image.new("RGBA", (640, 480), (18, 22, 48, 255))
    rnd = random.Random(5)
    ox, oy = 160, 40
    for col in range(12):
        for row in range(9):
            x, y = ox + col * COL_STEP, oy + row * ROW_STEP + (ROW_STEP // 2 if col % 2 else 0)
            k = rnd.random()
            if k < 0.15:
                cell = "cell_complete.png"
            elif k < 0.45:
                cell = "cell_wait_%d.png" % rnd.randint(1, 7)
            else:
                cell = "cell_plain.png"
            scr.alpha_composite(load(b, cell), (x, y))
            if k > 0.97:
                scr.alpha_composite(load(b, "artifact.png"), (x + 2, y - 1))
                continue
            if k > 0.9 and cell.startswith("cell_wait"):
                scr.alpha_composite(load(b, "contour_%d.png" % rnd.randint(1, 7)), (x + 2, y - 1))
                continue
            code = "%d%d" % (rnd.randint(1, 7), rnd.randint(1, 7))
            scr.alpha_composite(load(b, "flower_%s.png" % code), (x + 2, y - 1))
            if 0.8 < k < 0.86:
                scr.alpha_composite(load(b, "lock_%s.png" % rnd.choice(["single", "double", "triple"])), (x, y))
            if col == 5 and row == 4:
                scr.alpha_composite(load(b, "selected.png"), (x - 4, y - 4))
            if col == 8 and row == 2:
                scr.alpha_composite(load(b, "hover.png"), (x - 4, y - 4))
    scr.alpha_composite(load(b, "spark.png"), (ox + 7 * COL_STEP - 8, oy + 6 * ROW_STEP - 10))
    return scr


def grid(folder, names, cols, bg=(40, 44, 80, 255), pad=6):
    imgs = [Image.open(os.path.join(folder, n)).convert("RGBA") for n in names]
    cw = max(i.width for i in imgs) + pad
    ch = max(i.height for i in imgs) + pad
    rows = (len(imgs) + cols - 1) // cols
    out = Image.new("RGBA", (cols * cw + pad, rows * ch + pad), bg)
    for k, im in enumerate(imgs):
        out.alpha_composite(im, (pad + (k % cols) * cw, pad + (k // cols) * ch))
    return out


def main(data, path):
    b = os.path.join(data, "img", "board")
    parts = [board(data)]
    flowers = ["flower_%d%d.png" % (c, s) for c in range(1, 8) for s in range(1, 8)]
    parts.append(grid(b, flowers, 7))
    others = sorted(n for n in os.listdir(b) if not n.startswith("flower_"))
    parts.append(grid(b, others, 8))
    ui = os.path.join(data, "img", "ui")
    if os.path.isdir(ui):
        small = sorted(n for n in os.listdir(ui) if not n.startswith("background") and n != "logo.png")
        parts.append(grid(ui, small, 5))
        if os.path.exists(os.path.join(ui, "logo.png")):
            parts.append(grid(ui, ["logo.png"], 1, bg=(18, 22, 48, 255)))
    fonts = os.path.join(data, "fonts")
    if os.path.isdir(fonts):
        for n in sorted(f for f in os.listdir(fonts) if f.endswith(".png")):
            parts.append(grid(fonts, [n], 1, bg=(90, 70, 120, 255)))
    w = max(p.width for p in parts)
    h = sum(p.height for p in parts)
    sheet = Image.new("RGBA", (w, h), (0, 0, 0, 255))
    y = 0
    for p in parts:
        sheet.alpha_composite(p, (0, y))
        y += p.height
    sheet.convert("RGB").save(path)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
