#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (run from anywhere; the
files are committed, so this only needs running when a seed changes).
JPEG seeds come from the C helper in make_jpeg_seeds.c (libjpeg)."""
import os, struct, zlib, wave, io

HERE = os.path.dirname(os.path.abspath(__file__))
GAME_KEY = "Qv7Ga2meDesc9Rk4Lst"


def put(target, name, data):
    d = os.path.join(HERE, "corpus", target)
    os.makedirs(d, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


# --- storage -----------------------------------------------------------------
put("storage_xml", "plain.xml", '<root width="5" x="1.5" visible="no"><child a="1">text</child><child/></root>')
put("storage_xml", "outstorage.xml", '<root _outstorage="file=o.xml"><child width="7"/></root>')
put("storage_xml", "outenc.xml", '<root _outstorage="file=e.xml\\cryptkey=%s"/>' % GAME_KEY)
put("storage_xml", "selfloop.xml", '<root _outstorage="file=self.xml"><a _outstorage="file=o.xml"/></root>')
put("storage_xml", "latin1.xml", b'<?xml version="1.0" encoding="ISO-8859-1"?><root caption="\xe9t\xe9"/>')
put("storage_xml", "markup.xml", '<root><text><![CDATA[x<y]]><!-- c --></text><b> </b></root>')
put("storage_xml", "typed.xml", '<root><item type="Param" name="p" value="1"/><item type="ImageResource" name="i" file="i.png" format="png"/></root>')
put("storage_xml", "deep.xml", "<a>" * 60 + "</a>" * 60)

put("storage_cipher", "hex.txt", "00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF\n$0102")
put("storage_cipher", "odd.txt", "ABC")
put("storage_cipher", "plain.xml", "<root a=\"1\"/>")

# --- parameter and creation strings ------------------------------------------
put("params", "pairs.txt", "file=a.xml\\cryptkey=K\\x={a\\b={c}}")
put("params", "creation.txt", "ImageResource\\name=pic\\file=i.png\\format=png")
put("params", "param.txt", "Param\\name=p\\value=5")
put("params", "braces.txt", "a={{{}\\b=}")

# --- expressions --------------------------------------------------------------
put("expression", "formula.txt", "sin(x)*2+y^2-abs(-3)")
put("expression", "program.txt", "own:=x+1\n// note\nif(own>2,own,3)\nrandom_int(10)+5!")
put("expression", "comma.txt", "max(1,5;2,5)\x01")
put("expression", "errors.txt", "1/0\n(1+2\n10^400")
put("expression", "strings.txt", "pos('a','bab')+length('xy')")

# --- levels -------------------------------------------------------------------
def level(cols, rows, cells="", colours="11,23,35,42,54"):
    return ('<level name="L" Flowercolors="%s" time="90" shift_x="0" shift_y="0" '
            'Flowercolor_default="-1" Celltype_default="1" Cellcolor_default="-1" cols="%d" rows="%d">'
            '<cells_def>%s</cells_def></level>' % (colours, cols, rows, cells))

put("level", "small.xml", level(6, 6))
put("level", "cells.xml", level(5, 4, '<cell_def col="0" row="0" Celltype="-1"/>'
                            '<cell_def col="1" row="2" Celltype="2" Cellcolor="1" Flowercolor="0"/>'
                            '<cell_def col="3" row="3" Celltype="3"/><cell_def col="9" row="9"/>'))
put("level", "twocolours.xml", level(8, 8, colours="11,23"))
put("level", "big.xml", level(64, 64))

# --- fonts, language, resource lists ------------------------------------------
put("font", "symbols.xml", '<resource type="FontResource" name="f" file="f.png" format="png"><symbols>'
    '<symbol scancode="65" left="0" top="0" width="8" height="12" wleft="1" wright="-1"/>'
    '<symbol scancode="32" width="4" height="12"/><symbol scancode="x"/></symbols></resource>')
put("font", "huge.xml", '<resource><symbols><symbol scancode="2147483647" left="-2147483648" width="2147483647" height="2147483647"/></symbols></resource>')

put("language", "default.lng", '<language id="en" name="English"><strings>'
    '<string name="CreateNewUser">Create %Player%</string><string name="a">A%b%</string>'
    '<string name="b">B</string><string name="loop">%loop%%loop%</string></strings></language>')
put("language", "flat.lng", '<language id="de"><string name="thousand_separator">.</string><string>x</string></language>')

put("resource_list", "list.xml", '<resources><content>'
    '<resource type="ImageResource" name="img" file="i.png" format="png"/>'
    '<resource type="FontResource" name="font" file="i.png" format="png"><symbols><symbol scancode="65" width="1" height="1"/></symbols></resource>'
    '<resource type="FontSubstituteResource" name="sub" fonts="font,img,sub"/>'
    '<resource type="SoundResource" name="snd" file="s.wav"/>'
    '<resource type="MusicResource" name="mus" file="m.mod"/>'
    '<resource type="ImageResource" name="IMG" file="i.png" loadbydemand="yes"/>'
    '<resource type="Unknown" name="u"/></content></resources>')

# --- images -------------------------------------------------------------------
def png(w, h, colour_type, depth=8, rows=None):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    row = bytes([0]) + bytes((x * 37) & 0xFF for x in range(w * channels * depth // 8))
    raw = row * h if rows is None else rows
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, colour_type, 0, 0, 0))
    if colour_type == 3:
        out += chunk(b"PLTE", bytes(range(48)))
    return out + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")

put("png", "rgb.png", png(4, 3, 2))
put("png", "rgba.png", png(3, 3, 6))
put("png", "grey.png", png(5, 2, 0))
put("png", "greyalpha.png", png(2, 2, 4))
put("png", "palette.png", png(4, 4, 3))
put("png", "grey16.png", png(2, 2, 0, 16))

# --- audio --------------------------------------------------------------------
def wav(frames, channels=1, width=2, rate=22050):
    b = io.BytesIO()
    w = wave.open(b, "wb")
    w.setnchannels(channels); w.setsampwidth(width); w.setframerate(rate)
    w.writeframes(bytes((i * 7) & 0xFF for i in range(frames * channels * width)))
    w.close()
    return b.getvalue()

put("audio_sample", "mono16.wav", wav(200))
put("audio_sample", "stereo8.wav", wav(100, 2, 1, 11025))

def mod():
    title = b"fuzz".ljust(20, b"\0")
    samples = b""
    for i in range(31):
        if i == 0:  # 32 words of a square wave, looped
            samples += b"sq".ljust(22, b"\0") + struct.pack(">HBBHH", 32, 0, 64, 0, 32)
        else:
            samples += b"\0" * 22 + struct.pack(">HBBHH", 0, 0, 0, 0, 1)
    order = bytes([1, 127]) + bytes(128)
    pattern = bytearray(64 * 4 * 4)
    # note C-3 (period 428) on channel 0 of rows 0 and 16, sample 1
    for r in (0, 16):
        off = r * 16
        pattern[off:off + 4] = bytes([0x01, 0xAC, 0x10, 0x00])
    data = bytes([0x7F] * 32 + [0x80] * 32)
    return title + samples + order + b"M.K." + bytes(pattern) + data

put("audio_module", "square.mod", mod())

# --- "jpng" pairs (needs the JPEG seeds) -------------------------------------
jpeg_dir = os.path.join(HERE, "corpus", "jpeg")
if os.path.exists(os.path.join(jpeg_dir, "colour.jpg")):
    colour = open(os.path.join(jpeg_dir, "colour.jpg"), "rb").read()
    put("jpng", "pair.bin", colour + b"@@JPNG@@" + png(8, 8, 0))
    put("jpng", "wrongsize.bin", colour + b"@@JPNG@@" + png(4, 8, 0))
    put("jpng", "rgbalpha.bin", colour + b"@@JPNG@@" + png(8, 8, 2))

# --- packages -----------------------------------------------------------------
import zipfile
def package(entries, method):
    b = io.BytesIO()
    with zipfile.ZipFile(b, "w", method) as z:
        for name, data in entries:
            z.writestr(name, data)
    return b.getvalue()

entries = [("a.xml", "<root a=\"1\"><b/></root>"), ("sub/b.png", png(2, 2, 2)), ("sub/c", "x" * 300)]
put("package", "deflated.zip", package(entries, zipfile.ZIP_DEFLATED))
put("package", "stored.zip", package(entries, zipfile.ZIP_STORED))
put("package", "empty.zip", package([], zipfile.ZIP_STORED))
