#!/usr/bin/env python3
"""Writes the bundled levels into OUT (content/data/levels): level_N.xml,
one level storage file each, and levels.xml, the level list ("levels" with
one "level" child per level).

A cell (c, r) has its centre at (c * 53 + shift_x, r * 60 + shift_y), plus
30 for every even column; every level is centred in the play area and
checked to fit it (fit_errors, also used by check_assets.py). Palettes use
the codes 11, 22 ... 88, each colour with its own shape; flowers and
required colours in the cells are palette indexes, -1 random, -10 an
artifact.
    make_levels.py OUT
"""
import os
import random
import sys
import xml.etree.ElementTree as ET

COL_STEP, ROW_STEP = 53, 60
HALF_W, HALF_H = 35, 30                  # half a cell around its centre
PLAY_AREA = (30, 40, 610, 470)           # x0, y0, x1, y1 every cell stays inside

HOLE, COMPLETE, NORMAL, DOUBLE, TRIPLE = -1, 0, 1, 2, 3
RANDOM, ARTIFACT = -1, -10


def centre(c, r, shift_x, shift_y):
    return c * COL_STEP + shift_x, r * ROW_STEP + shift_y + (ROW_STEP // 2 if c % 2 == 0 else 0)


def cells_of(level):
    """Every existing cell of a level as (col, row)."""
    return [(c, r) for c in range(level["cols"]) for r in range(level["rows"])
            if level["cells"].get((c, r), (NORMAL,))[0] != HOLE]


def fit_errors(cols, rows, shift_x, shift_y, exists):
    """Cells whose picture would leave the play area, as text."""
    x0, y0, x1, y1 = PLAY_AREA
    errors = []
    for c in range(cols):
        for r in range(rows):
            if not exists(c, r):
                continue
            x, y = centre(c, r, shift_x, shift_y)
            if x - HALF_W < x0 or x + HALF_W > x1 or y - HALF_H < y0 or y + HALF_H > y1:
                errors.append("cell %d,%d at %d,%d" % (c, r, x, y))
    return errors


def centred_shift(level):
    xs, ys = zip(*(centre(c, r, 0, 0) for c, r in cells_of(level)))
    x0, y0, x1, y1 = PLAY_AREA
    return ((x0 + x1) - (min(xs) + max(xs))) // 2, ((y0 + y1) - (min(ys) + max(ys))) // 2


def palette(n):
    return ",".join("%d%d" % (k, k) for k in range(1, n + 1))


def neighbours(c, r):
    """The six cells around (c, r): even columns sit half a cell lower."""
    side = (r, r + 1) if c % 2 == 0 else (r - 1, r)
    return [(c, r - 1), (c, r + 1)] + [(c + d, rr) for d in (-1, 1) for rr in side]


def level(name, display, cols, rows, colours, time, holes=(), required=0, doubles=0, triples=0, artifacts=(),
          seed=1, locked_colour=True, artifact=0, inner=False):
    """A level: holes are cells; `required` normal cells ask for a colour,
    `doubles` and `triples` locked cells (asking for a colour too when
    `locked_colour`), artifacts start in the given top-row columns. With
    `inner` the locks and required colours lie on cells with all six
    neighbours where there are such cells, so lines of every direction
    reach them, and the locks low in their columns and apart."""
    rnd = random.Random(seed)
    cells = {}
    for h in holes:
        cells[h] = (HOLE, RANDOM, -1)
    for c in artifacts:
        cells[(c, 0)] = (NORMAL, ARTIFACT, -1)
    free = [(c, r) for c in range(cols) for r in range(rows) if (c, r) not in cells]
    rnd.shuffle(free)
    if inner:  # taken from the end: the inner cells first, then the others
        free.sort(key=lambda cell: all(0 <= nc < cols and 0 <= nr < rows and
                                       cells.get((nc, nr), (NORMAL,))[0] != HOLE for nc, nr in neighbours(*cell)))
    def low_and_apart(cell):
        """A lock holds its flower and no flower falls through it: the
        cells below it stay empty until it opens. So a lock lies in the
        lowest two cells of its column, and never beside another."""
        c, r = cell
        below = sum(1 for rr in range(r + 1, rows) if cells.get((c, rr), (NORMAL,))[0] != HOLE)
        return below <= 1 and not any(cells.get(n, (NORMAL,))[0] in (DOUBLE, TRIPLE) for n in neighbours(c, r))

    for kind, count in ((TRIPLE, triples), (DOUBLE, doubles)):
        for _ in range(count):
            k = len(free) - 1
            if inner:
                while k > 0 and not low_and_apart(free[k]):
                    k -= 1
            cell = free.pop(k)
            cells[cell] = (kind, RANDOM, rnd.randrange(colours) if locked_colour else -1)
    for _ in range(required):
        cell = free.pop()
        cells[cell] = (NORMAL, RANDOM, rnd.randrange(colours))
    lv = {"name": name, "display": display, "cols": cols, "rows": rows, "colours": colours, "time": time,
          "cells": cells, "artifact": artifact}
    lv["shift"] = centred_shift(lv)
    return lv


def low_row_holes(cols, rows):
    """The last cell of every even column: a 7-row board then fits the height."""
    return [(c, rows - 1) for c in range(0, cols, 2)]


def corner_holes(cols, rows):
    return [(0, 0), (cols - 1, 0), (0, rows - 1), (cols - 1, rows - 1)]


LEVELS = [
    level("first_bloom", "First Bloom", 6, 5, 4, 90, required=5, seed=1),
    level("moon_path", "Moon Path", 7, 6, 4, 100, holes=corner_holes(7, 6) + [(3, 2)], required=14, seed=2),
    level("crystal_gate", "Crystal Gate", 8, 6, 4, 120, holes=[(0, 0), (7, 0), (3, 5), (4, 5)], required=6,
          doubles=3, seed=3),
    level("frost_lanterns", "Frost Lanterns", 8, 6, 4, 140, holes=[(0, 5), (7, 5), (3, 0), (4, 0)], required=7,
          doubles=3, triples=3, seed=4),
    level("lost_key", "The Lost Key", 8, 6, 5, 160, holes=[(0, 0), (7, 0), (2, 5), (5, 5)], required=2,
          artifacts=(3, 4), seed=5, artifact=2),
    level("willow_bend", "Willow Bend", 9, 7, 5, 180, holes=low_row_holes(9, 7) + [(4, 3), (0, 0), (8, 0)],
          required=5, doubles=2, triples=1, seed=6),
    level("wide_meadow", "Wide Meadow", 10, 7, 5, 210, holes=low_row_holes(10, 7) + [(4, 0), (5, 0)], required=6,
          doubles=2, triples=1, seed=7),
    level("night_garden", "The Night Garden", 9, 7, 6, 240, holes=low_row_holes(9, 7) + [(0, 0), (8, 0)],
          required=5, doubles=2, triples=1, seed=8),
    # six colours from here on; the shapes, the locks (low in their columns) and the relics make the work
    level("twin_ponds", "Twin Ponds", 10, 7, 6, 260,
          holes=low_row_holes(10, 7) + [(2, 2), (2, 3), (7, 2), (7, 3)], required=12, doubles=3, triples=1, seed=19,
          inner=True),
    level("frozen_hearts", "Frozen Hearts", 9, 7, 6, 280, holes=low_row_holes(9, 7) + [(0, 0), (8, 0), (4, 0)],
          required=6, doubles=4, triples=3, seed=21, inner=True),
    level("lantern_hollow", "Lantern Hollow", 9, 7, 6, 300, holes=low_row_holes(9, 7) + [(0, 0), (8, 0), (4, 4)],
          required=6, doubles=2, triples=1, artifacts=(2, 6), seed=10, artifact=3, inner=True),
    level("moonrise_crown", "Moonrise Crown", 10, 7, 6, 340, holes=low_row_holes(10, 7) + [(0, 0), (9, 0)],
          required=10, doubles=3, triples=2, artifacts=(3, 6), seed=42, artifact=5, inner=True),
]


def level_xml(lv):
    sx, sy = lv["shift"]
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<level name="%s" time="%d" Flowercolors="%s" shift_x="%d" shift_y="%d" Flowercolor_default="-1" '
             'Celltype_default="1" Cellcolor_default="-1" cols="%d" rows="%d">' %
             (lv["name"], lv["time"], palette(lv["colours"]), sx, sy, lv["cols"], lv["rows"]), " <cells_def>"]
    for (c, r) in sorted(lv["cells"]):
        kind, flower, colour = lv["cells"][(c, r)]
        attrs = ['col="%d"' % c, 'row="%d"' % r]
        if kind != NORMAL:
            attrs.append('Celltype="%d"' % kind)
        if colour != -1:
            attrs.append('Cellcolor="%d"' % colour)
        if flower != RANDOM:
            attrs.append('Flowercolor="%d"' % flower)
        lines.append("  <cell_def %s/>" % " ".join(attrs))
    lines += [" </cells_def>", "</level>", ""]
    return "\n".join(lines)


def main(out):
    os.makedirs(out, exist_ok=True)
    listing = ['<?xml version="1.0" encoding="UTF-8"?>', "<!-- Generated by tools/content/make_levels.py. -->",
               "<levels>"]
    for n, lv in enumerate(LEVELS, 1):
        sx, sy = lv["shift"]
        errors = fit_errors(lv["cols"], lv["rows"], sx, sy, lambda c, r: lv["cells"].get((c, r), (NORMAL,))[0] != HOLE)
        if errors:
            sys.exit("level %d leaves the play area: %s" % (n, ", ".join(errors)))
        with open(os.path.join(out, "level_%d.xml" % n), "w", encoding="utf-8", newline="\n") as f:
            f.write(level_xml(lv))
        listing.append(' <level level="%d" filename="data\\levels\\level_%d.xml" LevelName="%s" DisplayName="%s" '
                       'artifact="%d" history="0"/>' % (n, n, lv["name"], lv["display"], lv["artifact"]))
    listing += ["</levels>", ""]
    with open(os.path.join(out, "levels.xml"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(listing))


def read_level(path):
    """A level file as (cols, rows, shift_x, shift_y, exists(c, r)), for checks."""
    root = ET.parse(path).getroot()
    cols, rows = int(root.get("cols")), int(root.get("rows"))
    default = int(root.get("Celltype_default"))
    kinds = {}
    defs = root.find("cells_def")
    for d in (defs.findall("cell_def") if defs is not None else []):
        kinds[(int(d.get("col")), int(d.get("row")))] = int(d.get("Celltype", default))
    return cols, rows, int(root.get("shift_x")), int(root.get("shift_y")), \
        lambda c, r: kinds.get((c, r), default) != HOLE


if __name__ == "__main__":
    main(sys.argv[1])
