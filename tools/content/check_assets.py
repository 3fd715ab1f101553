#!/usr/bin/env python3
"""Checks the generated content as the game will read it and prints the
measurements: PNG colour types and depths, picture sizes, the font tables
against their atlases, that the board's flowers differ in outline and how
far apart they are in brightness, sound formats with peak and RMS levels,
that each music loop's end joins its start without a jump, and that the
level files parse and fit the play area.
    check_assets.py CONTENT_DIR      (exit 1 when a check fails)
"""
import os
import struct
import subprocess
import sys
import tempfile
import wave
import xml.etree.ElementTree as ET

import numpy as np

from loopcheck import join_error
from make_levels import fit_errors, read_level

failures = []


def fail(what):
    failures.append(what)
    print("FAIL " + what)


def png_header(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    w, h, depth, ctype = struct.unpack(">IIBB", data[16:26])
    chunks = []
    pos = 8
    while pos < len(data):
        n = struct.unpack(">I", data[pos:pos + 4])[0]
        chunks.append(data[pos + 4:pos + 8].decode("latin-1"))
        pos += 12 + n
    return w, h, depth, ctype, chunks


BOARD_SIZES = {
    "cell_plain": (72, 62), "cell_complete": (72, 62), "mat": (80, 70), "lock_single": (72, 62),
    "lock_double": (72, 62), "lock_triple": (72, 62), "selected": (80, 70), "hover": (80, 70),
    "spark": (64, 64), "spark_small": (16, 16), "sparkle": (12, 12), "glow": (64, 64),
    "hint_panel": (320, 110), "pointer_hand": (36, 36), "background_game": (640, 480), "score_panel": (150, 56),
}
for _n in range(1, 9):
    BOARD_SIZES.update({"contour_%d" % _n: (50, 50), "cell_wait_%d" % _n: (72, 62), "explosion_%d" % _n: (96, 96),
                        "shine_%d" % _n: (72, 62), "fly_color_%d" % _n: (28, 28)})
    BOARD_SIZES.update({"flower_%d%d" % (_n, _s): (50, 50) for _s in range(1, 9)})
RELICS = 14  # artifact_1 .. artifact_14, a board and a trophy size each
for _n in range(1, RELICS + 1):
    BOARD_SIZES.update({"artifact_%d" % _n: (50, 50), "artifact_big_%d" % _n: (96, 96)})
for _k in (2, 3):
    BOARD_SIZES.update({"anchor_open_%d_%d" % (_k, _f): (72, 62) for _f in range(1, 7)})

SIZES = {
    "img/ui/background_main.png": (640, 480), "img/ui/background_splash.png": (640, 480),
    "img/ui/cursor.png": (32, 32), "img/title.png": (368, 330), "img/ui/panel_dialog.png": (360, 200),
    "img/ui/panel_tall.png": (400, 360), "img/ui/button_small_normal.png": (150, 44),
    "img/ui/panel_stats.png": (440, 440), "img/ui/panel_rules.png": (320, 300),
}
SIZES.update({"img/board/%s.png" % name: size for name, size in BOARD_SIZES.items()})
# The high-contrast set for colour-blind play stands in for the flowers and
# contours under their names, so it has their sizes.
SIZES.update({"img/board/colourblind/%s.png" % name: size for name, size in BOARD_SIZES.items()
              if name.startswith(("flower_", "contour_"))})
OPAQUE = {"img/ui/background_main.png", "img/ui/background_splash.png", "img/board/background_game.png"}


def check_pictures(data):
    n = 0
    for folder, _dirs, files in os.walk(data):
        for name in sorted(files):
            if not name.endswith(".png"):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, data).replace(os.sep, "/")
            if rel != rel.lower():
                fail("%s: names are lower case" % rel)
            head = png_header(path)
            if not head:
                fail("%s: not a PNG" % rel)
                continue
            w, h, depth, ctype, chunks = head
            n += 1
            if depth != 8 or ctype not in (2, 6):
                fail("%s: 8-bit RGB or RGBA only (depth %d, colour type %d)" % (rel, depth, ctype))
            if "tIME" in chunks or "tEXt" in chunks:
                fail("%s: carries a time stamp or text" % rel)
            if rel in SIZES and SIZES[rel] != (w, h):
                fail("%s: %dx%d, expected %dx%d" % ((rel, w, h) + SIZES[rel]))
            if rel in OPAQUE and ctype != 2:
                fail("%s: a background is opaque RGB" % rel)
    for rel in sorted(SIZES):
        if not os.path.exists(os.path.join(data, rel)):
            fail("%s missing" % rel)
    print("pictures: %d PNG files checked" % n)


def check_flowers(data):
    """The levels' flowers (colour c with shape c) must differ in outline,
    so the board reads in greyscale: the silhouettes of every two differ
    in at least MIN_SHAPE_DIFFERENCE of their union. Brightness is
    reported."""
    from PIL import Image
    MIN_SHAPE_DIFFERENCE = 0.12
    masks, greys = {}, {}
    for c in range(1, 9):
        path = os.path.join(data, "img/board/flower_%d%d.png" % (c, c))
        if not os.path.exists(path):
            return
        a = np.asarray(Image.open(path).convert("RGBA"), np.float64)
        masks[c] = a[:, :, 3] > 127
        greys[c] = (0.299 * a[:, :, 0] + 0.587 * a[:, :, 1] + 0.114 * a[:, :, 2])[masks[c]].mean()
    worst = (1.0, 0, 0)
    for i in range(1, 9):
        for j in range(i + 1, 9):
            union = (masks[i] | masks[j]).sum()
            diff = 1 - (masks[i] & masks[j]).sum() / union
            worst = min(worst, (diff, i, j))
            if diff < MIN_SHAPE_DIFFERENCE:
                fail("flower_%d%d and flower_%d%d: outlines differ in %.1f%% only" % (i, i, j, j, 100 * diff))
    order = sorted(greys, key=greys.get)
    steps = [greys[b] - greys[a] for a, b in zip(order, order[1:])]
    print("flowers: outlines differ by at least %.1f%% (%d%d/%d%d); grey %s; spread %.0f, closest %.0f apart" %
          (100 * worst[0], worst[1], worst[1], worst[2], worst[2],
           " ".join("%d%d:%.0f" % (c, c, greys[c]) for c in order), greys[order[-1]] - greys[order[0]],
           min(steps)))


def check_levels(data):
    """Every level file listed in levels.xml parses and fits the play area."""
    folder = os.path.join(data, "levels")
    if not os.path.isdir(folder):
        return
    listing = ET.parse(os.path.join(folder, "levels.xml")).getroot()
    n = 0
    for entry in listing.findall("level"):
        n += 1
        number = int(entry.get("level"))
        rel = entry.get("filename").replace("\\", "/")
        path = os.path.join(os.path.dirname(data), rel)
        if not os.path.exists(path):
            fail("level %d: %s missing" % (number, rel))
            continue
        try:
            cols, rows, sx, sy, exists = read_level(path)
        except (ET.ParseError, TypeError, ValueError) as e:
            fail("level %d: %s does not parse (%s)" % (number, rel, e))
            continue
        for error in fit_errors(cols, rows, sx, sy, exists):
            fail("level %d: %s leaves the play area" % (number, error))
        root = ET.parse(path).getroot()
        codes = root.get("Flowercolors", "").split(",")
        if not all(len(c) == 2 and "1" <= c[0] <= "8" and "1" <= c[1] <= "8" for c in codes):
            fail("level %d: palette %s is not made of flower codes 11..88" % (number, root.get("Flowercolors")))
        defs = root.find("cells_def")
        for d in (defs.findall("cell_def") if defs is not None else []):
            flower, colour = int(d.get("Flowercolor", "-1")), int(d.get("Cellcolor", "-1"))
            if not (-1 <= flower < len(codes) or flower == -10) or not -1 <= colour < len(codes):
                fail("level %d: cell %s,%s names a colour outside its palette" % (number, d.get("col"), d.get("row")))
        if not 0 <= int(entry.get("artifact", "0")) <= RELICS:
            fail("level %d: artifact %s is not one of the relics 1..%d" % (number, entry.get("artifact"), RELICS))
        print("level %d %-24s %2d x %d, shift %d,%d, artifact %s" % (number, entry.get("DisplayName"), cols, rows, sx,
                                                                   sy, entry.get("artifact")))
    if n == 0:
        fail("levels.xml lists no level")


def check_fonts(data):
    from PIL import Image
    tree = ET.parse(os.path.join(data, "fonts", "fonts.xml"))
    for res in tree.getroot().find("content").findall("resource"):
        name, file = res.get("name"), res.get("file").replace("\\", "/")
        atlas = Image.open(os.path.join(os.path.dirname(data), file))
        codes, heights = set(), set()
        for sym in res.find("symbols").findall("symbol"):
            code = int(sym.get("scancode"))
            left, top, w, h = (int(sym.get(k)) for k in ("left", "top", "width", "height"))
            codes.add(code)
            heights.add(h)
            if left < 0 or top < 0 or w <= 0 or left + w > atlas.width or top + h > atlas.height:
                fail("%s: symbol %d outside its atlas" % (name, code))
        missing = (set(range(32, 127)) | set(range(160, 256))) - codes
        if missing:
            fail("%s: no glyph for %s" % (name, sorted(missing)[:8]))
        if len(heights) != 1:
            fail("%s: glyphs of different heights %s" % (name, sorted(heights)))
        print("font %-16s %3d glyphs, line height %s, atlas %dx%d" % (name, len(codes), sorted(heights),
                                                                     atlas.width, atlas.height))


def levels(x):
    peak = np.max(np.abs(x))
    rms = np.sqrt(np.mean(x * x))
    return 20 * np.log10(max(peak, 1e-9)), 20 * np.log10(max(rms, 1e-9))


def read_wav(path):
    with wave.open(path) as w:
        fmt = (w.getnchannels(), w.getsampwidth(), w.getframerate())
        x = np.frombuffer(w.readframes(w.getnframes()), "<i2").reshape(-1, fmt[0]).astype(np.float64) / 32768.0
    return fmt, x


def check_sounds(data):
    folder = os.path.join(data, "snd")
    for name in sorted(os.listdir(folder)):
        (ch, width, rate), x = read_wav(os.path.join(folder, name))
        if width != 2 or rate != 44100:
            fail("%s: %d-bit %d Hz, expected 16-bit 44100 Hz" % (name, 8 * width, rate))
        peak, rms = levels(x)
        if peak >= -0.1:
            fail("%s: peak %.2f dBFS, must stay below 0 dBFS" % (name, peak))
        if abs(x[0]).max() > 0.01 or abs(x[-1]).max() > 0.01:
            fail("%s: starts or ends away from silence (a click)" % name)
        print("sound %-18s %5.2f s  peak %6.2f dBFS  RMS %6.2f dBFS" % (name, len(x) / rate, peak, rms))


def check_music(data):
    folder = os.path.join(data, "music")
    with tempfile.TemporaryDirectory() as tmp:
        for name in sorted(os.listdir(folder)):
            out = os.path.join(tmp, name + ".wav")
            subprocess.run(["oggdec", "-Q", "-o", out, os.path.join(folder, name)], check=True)
            (ch, width, rate), x = read_wav(out)
            peak, rms = levels(x)
            # the jump from the last sample to the first, against the steps
            # the music makes next to it
            join = np.abs(x[0] - x[-1]).max()
            near = np.abs(np.diff(np.concatenate([x[-2048:]]), axis=0)).max()
            # the generator proved the loop sample-exact before encoding; the
            # codec's own error at the stream's two edges (tens of LSB) makes
            # the prediction error here larger than on the PCM: printed only
            err = join_error(x)
            print("music %-10s %6.3f s  peak %6.2f dBFS  RMS %6.2f dBFS  join step %.4f (largest step near it %.4f)"
                  "  prediction error at the join %.2f x the music's own" % (name, len(x) / rate, peak, rms, join,
                                                                           near, err))
            if rate != 44100:
                fail("%s: %d Hz" % (name, rate))
            if join > near:
                fail("%s: the loop jumps where its end meets its start" % name)
            if peak >= 0:
                fail("%s: clips" % name)
            if os.path.getsize(os.path.join(folder, name)) > 1.5e6:
                fail("%s: larger than 1.5 MB" % name)


def check_size(content):
    total = 0
    for folder, _dirs, files in os.walk(content):
        total += sum(os.path.getsize(os.path.join(folder, f)) for f in files)
    print("content: %.2f MB" % (total / 1e6))
    if total > 15e6:
        fail("content is larger than 15 MB")


def main(content):
    data = os.path.join(content, "data")
    check_pictures(data)
    check_flowers(data)
    check_fonts(data)
    check_sounds(data)
    check_music(data)
    check_levels(data)
    ET.parse(os.path.join(content, "lang", "default.lng"))
    check_size(content)
    if failures:
        print("%d checks failed" % len(failures))
        sys.exit(1)
    print("all checks passed")


if __name__ == "__main__":
    main(sys.argv[1])
