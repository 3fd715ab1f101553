#!/usr/bin/env python3
"""Checks the generated content as the game will read it and prints the
measurements: PNG colour types and depths, picture sizes, the font tables
against their atlases, sound formats with peak and RMS levels, and that
each music loop's end joins its start without a jump.
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


SIZES = {
    "img/board/cell_plain.png": (48, 42), "img/board/cell_complete.png": (48, 42),
    "img/board/flower_11.png": (44, 44), "img/board/lock_single.png": (48, 42),
    "img/board/selected.png": (56, 50), "img/ui/background_main.png": (640, 480),
    "img/ui/background_splash.png": (640, 480), "img/ui/cursor.png": (32, 32), "img/title.png": (368, 330),
    "img/ui/panel_dialog.png": (360, 200), "img/ui/panel_tall.png": (400, 360),
    "img/ui/button_small_normal.png": (150, 44),
}


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
                fail("%s: %dx%d, expected %dx%d" % (rel, w, h) + SIZES[rel])
    for c in range(1, 8):
        for s in range(1, 8):
            if not os.path.exists(os.path.join(data, "img/board/flower_%d%d.png" % (c, s))):
                fail("flower_%d%d.png missing" % (c, s))
    print("pictures: %d PNG files checked" % n)


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
    check_fonts(data)
    check_sounds(data)
    check_music(data)
    ET.parse(os.path.join(content, "lang", "default.lng"))
    check_size(content)
    if failures:
        print("%d checks failed" % len(failures))
        sys.exit(1)
    print("all checks passed")


if __name__ == "__main__":
    main(sys.argv[1])
