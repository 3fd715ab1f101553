#!/usr/bin/env python3
"""Draws the title picture of the bundled content (368 x 330, straight
RGBA): a small hexagonal board of the game's own cells and flowers, laid
out as the board lays them (odd columns half a cell lower).
    make_title.py content/data/img/title.png
"""
import os
import random
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import save_png  # noqa: E402
from make_board import artifact, cell, draw_flower  # noqa: E402

W, H = 368, 330
COLS, ROWS = 9, 7
# the title's own small board: 48 x 41 cells, 44 x 44 flowers
COL_STEP, ROW_STEP = 36, 42
CELL = 48 / 72.0
FLOWER = 44 / 50.0


def main(path):
    rnd = random.Random(7)
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    plain, complete = cell("plain", scale=CELL), cell("complete", scale=CELL)
    flowers = {}
    ox, oy = (W - ((COLS - 1) * COL_STEP + 48)) // 2, (H - (ROWS * ROW_STEP + ROW_STEP // 2)) // 2
    for c in range(COLS):
        for r in range(ROWS):
            x, y = ox + c * COL_STEP, oy + r * ROW_STEP + (ROW_STEP // 2 if c % 2 else 0)
            img.alpha_composite(complete if (c * 7 + r * 3) % 5 == 0 else plain, (x, y))
            if (c, r) == (4, 3):
                img.alpha_composite(artifact(1, 44), (x + 2, y - 1))
                continue
            code = (rnd.randint(1, 7), rnd.randint(1, 7))
            if code not in flowers:
                flowers[code] = draw_flower(*code, scale=FLOWER)
            img.alpha_composite(flowers[code], (x + 2, y - 1))
    save_png(img, path)


if __name__ == "__main__":
    main(sys.argv[1])
