#!/usr/bin/env python3
"""Composes a contact sheet of the generated pictures for a visual check:
the bundled levels 8 and 5 laid out as the board lays them (cell centres
53 x 60 apart, even columns half a cell lower, every picture centred on its
cell) over the game's background, the same boards in greyscale, and every
board and shell picture beside them.
    make_sheet.py CONTENT_DATA_DIR OUT.png
"""
import os
import random
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_levels import centre  # noqa: E402
import xml.etree.ElementTree as ET  # noqa: E402


def load(d, name):
    return Image.open(os.path.join(d, name)).convert("RGBA")


def put(scr, img, x, y):
    """Places a picture centred on (x, y), as the board does."""
    scr.alpha_composite(img, (int(x - img.width // 2), int(y - img.height // 2)))


def board(data, number, seed):
    b = os.path.join(data, "img", "board")
    scr = load(b, "background_game.png")
    root = ET.parse(os.path.join(data, "levels", "level_%d.xml" % number)).getroot()
    cols, rows = int(root.get("cols")), int(root.get("rows"))
    sx, sy = int(root.get("shift_x")), int(root.get("shift_y"))
    codes = root.get("Flowercolors").split(",")
    cells = {(c, r): (1, -1, -1) for c in range(cols) for r in range(rows)}
    for d in root.find("cells_def").findall("cell_def"):
        cells[(int(d.get("col")), int(d.get("row")))] = (int(d.get("Celltype", 1)), int(d.get("Flowercolor", -1)),
                                                         int(d.get("Cellcolor", -1)))
    rnd = random.Random(seed)
    live = sorted(k for k, v in cells.items() if v[0] != -1)
    for (c, r) in live:
        put(scr, load(b, "mat.png"), *centre(c, r, sx, sy))
    for n, (c, r) in enumerate(live):
        kind, flower, colour = cells[(c, r)]
        x, y = centre(c, r, sx, sy)
        if colour >= 0:
            put(scr, load(b, "cell_wait_%s.png" % codes[colour][0]), x, y)
        elif kind == 0 or rnd.random() < 0.2:
            put(scr, load(b, "cell_complete.png"), x, y)
        else:
            put(scr, load(b, "cell_plain.png"), x, y)
        if flower == -10:
            put(scr, load(b, "artifact_2.png"), x, y)
        elif colour >= 0 and n % 5 == 0 and kind == 1:
            put(scr, load(b, "contour_%s.png" % codes[colour][1]), x, y)
        else:
            put(scr, load(b, "flower_%s.png" % rnd.choice(codes)), x, y)
        if kind in (2, 3):
            put(scr, load(b, "lock_%s.png" % ("double" if kind == 2 else "triple")), x, y)
    c, r = live[len(live) // 2]
    put(scr, load(b, "selected.png"), *centre(c, r, sx, sy))
    x, y = centre(c, r, sx, sy)
    for k in range(5):
        put(scr, load(b, "sparkle.png"), x - 30 + k * 15, y - 28 + (k % 2) * 56)
    c, r = live[len(live) // 3]
    put(scr, load(b, "hover.png"), *centre(c, r, sx, sy))
    c, r = live[len(live) // 4]
    put(scr, load(b, "explosion_3.png"), *centre(c, r, sx, sy))
    c, r = live[2 * len(live) // 3]
    put(scr, load(b, "shine_4.png"), *centre(c, r, sx, sy))
    put(scr, load(b, "score_panel.png"), 80, 30)
    put(scr, load(b, "score_panel.png"), 560, 30)
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
    boards = [board(data, 8, 5), board(data, 5, 6)]
    parts = boards + [im.convert("L").convert("RGBA") for im in boards]
    flowers = ["flower_%d%d.png" % (c, s) for c in range(1, 9) for s in range(1, 9)]
    parts.append(grid(b, flowers, 8))
    level_flowers = grid(b, ["flower_%d%d.png" % (c, c) for c in range(1, 9)], 8)
    parts += [level_flowers, level_flowers.convert("L").convert("RGBA")]
    others = sorted(n for n in os.listdir(b) if not n.startswith("flower_") and not n.startswith("background"))
    parts.append(grid(b, others, 10))
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
