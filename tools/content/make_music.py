#!/usr/bin/env python3
"""Composes the two music loops, renders them with fluidsynth and the
General MIDI sound font and encodes them with oggenc into OUT
(content/data/music).

Seamless loops: the loop is written three times in a row into the MIDI
file and rendered with chorus off (the only effect with a free-running
oscillator). The loop's length is a whole number of milliseconds and of
64-sample synthesis blocks, so the render is periodic after the first
pass; the middle pass [L, 2L) is cut out. It begins with the ringing tail
of the pass before it, exactly as its own end rings into the next start,
so the file plays around without a gap, click or jump.
    make_music.py OUT [WORKDIR]
"""
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

import numpy as np

from loopcheck import join_error

RATE = 44100
PPQ = 480
SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


class Track:
    def __init__(self):
        self.events = []  # (tick, order, bytes)

    def note(self, tick, length, ch, key, vel):
        self.events.append((tick, 1, bytes((0x90 | ch, key, vel))))
        self.events.append((tick + length, 0, bytes((0x80 | ch, key, 0))))

    def program(self, tick, ch, prog):
        self.events.append((tick, -1, bytes((0xC0 | ch, prog))))

    def control(self, tick, ch, cc, value):
        self.events.append((tick, -1, bytes((0xB0 | ch, cc, value))))

    def tempo(self, tick, bpm):
        us = int(round(60_000_000 / bpm))
        self.events.append((tick, -2, b"\xff\x51\x03" + us.to_bytes(3, "big")))

    def chunk(self, end_tick):
        data = b""
        last = 0
        for tick, _order, ev in sorted(self.events, key=lambda e: (e[0], e[1])):
            data += vlq(tick - last) + ev
            last = tick
        data += vlq(max(0, end_tick - last)) + b"\xff\x2f\x00"
        return b"MTrk" + struct.pack(">I", len(data)) + data


def write_midi(path, tracks, end_tick):
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ))
        for t in tracks:
            f.write(t.chunk(end_tick))


# Chords as (root MIDI note, intervals).
MAJ7, MIN7, MAJ, MIN, SUS = (0, 4, 7, 11), (0, 3, 7, 10), (0, 4, 7), (0, 3, 7), (0, 5, 7)


def menu_loop(rnd):
    """Twilight waltz-like lullaby, 80 BPM, 16 bars of 4/4 in D."""
    bpm, bars = 80, 16
    prog = [(50, MAJ7), (47, MIN7), (43, MAJ7), (45, SUS), (50, MAJ7), (47, MIN7), (52, MIN7), (45, MAJ),
            (43, MAJ7), (42, MIN7), (40, MIN7), (45, SUS), (43, MAJ7), (45, MAJ), (47, MIN7), (45, SUS)]
    scale = [62, 64, 66, 69, 71, 74, 76, 78, 81]  # D major pentatonic
    tr = [Track() for _ in range(4)]
    tr[0].tempo(0, bpm)
    setup = [(0, 10, 92), (1, 46, 80), (2, 32, 90), (3, 89, 60)]  # music box, harp, bass, warm pad
    bar = 4 * PPQ
    phrase = []
    idx = 4
    for b in range(bars):
        root, iv = prog[b]
        chord = [(root + i) % 12 for i in iv]
        # melody: a walk over the pentatonic, chord tones on the beats
        notes = []
        pos = 0
        while pos < bar:
            dur = rnd.choice([PPQ, PPQ, PPQ // 2, PPQ * 2]) if pos % PPQ == 0 else PPQ // 2
            dur = min(dur, bar - pos)
            idx = max(0, min(len(scale) - 1, idx + rnd.choice([-2, -1, -1, 0, 1, 1, 2])))
            key = scale[idx]
            if pos % PPQ == 0 and key % 12 not in chord:
                for k in (idx + 1, idx - 1, idx + 2, idx - 2):
                    if 0 <= k < len(scale) and scale[k] % 12 in chord:
                        idx, key = k, scale[k]
                        break
            if rnd.random() > 0.12 or pos == 0:
                notes.append((pos, dur, key))
            pos += dur
        phrase.append(notes)
    for rep_bar in range(bars):
        pass
    parts = []
    for b in range(bars):
        root, iv = prog[b]
        t0 = b * bar
        for pos, dur, key in phrase[b]:
            parts.append((0, t0 + pos, dur, 0, key + 12, 70 + (12 if pos == 0 else 0)))
        # harp: rising arpeggio in eighths
        arp = [root + 12 + iv[k % len(iv)] + 12 * (k // len(iv)) for k in range(8)]
        for k, key in enumerate(arp):
            parts.append((1, t0 + k * PPQ // 2, PPQ, 1, key, 54 + (10 if k % 4 == 0 else 0)))
        parts.append((2, t0, PPQ * 2 - 20, 2, root - 12, 86))
        parts.append((2, t0 + PPQ * 2, PPQ * 2 - 20, 2, root - 12 + (7 if b % 2 else 12), 74))
        for i in iv:
            parts.append((3, t0, bar - 10, 3, root + 12 + i, 40))
    return bpm, bars, setup, parts, tr


def game_loop(rnd):
    """Bright, busy garden groove, 120 BPM, 24 bars of 4/4 in G."""
    bpm, bars = 120, 24
    prog = [(43, MAJ), (40, MIN), (36, MAJ7), (38, MAJ)] * 3 + [(36, MAJ), (38, MAJ), (43, MAJ), (40, MIN7),
                                                                  (36, MAJ7), (45, MIN7), (38, SUS), (38, MAJ)] + \
        [(43, MAJ), (40, MIN), (36, MAJ7), (38, MAJ)]
    scale = [67, 69, 71, 74, 76, 79, 81, 83]
    tr = [Track() for _ in range(5)]
    tr[0].tempo(0, bpm)
    setup = [(0, 13, 90), (1, 45, 84), (2, 33, 96), (3, 73, 76)]  # marimba, pizzicato, bass, flute
    bar = 4 * PPQ
    motif = [(0, 0), (PPQ // 2, 2), (PPQ, 1), (PPQ * 3 // 2, 3), (PPQ * 2, 2), (PPQ * 3, 4)]
    parts = []
    idx = 3
    for b in range(bars):
        root, iv = prog[b]
        t0 = b * bar
        # marimba ostinato on the chord
        pat = [0, 2, 1, 2, 0, 2, 1, 2]
        for k in range(8):
            key = root + 24 + iv[pat[k] % len(iv)]
            parts.append((0, t0 + k * PPQ // 2, PPQ // 2 - 10, 0, key, 70 + (14 if k % 2 == 0 else 0)))
        # pizzicato off-beats
        for k in (1, 3):
            for i in iv[:3]:
                parts.append((1, t0 + k * PPQ + PPQ // 2, PPQ // 3, 1, root + 12 + i, 58))
        # bass: root and fifth
        for k, off in enumerate((0, 7, 12, 7)):
            parts.append((2, t0 + k * PPQ, PPQ - 30, 2, root - 12 + (off if off != 12 else 0), 92 if k == 0 else 78))
        # flute: a tune in the second half of each four-bar phrase
        if b % 4 in (1, 2, 3) and b < bars - 1 or b % 4 == 0 and b > 0:
            for pos, step in motif:
                idx = max(0, min(len(scale) - 1, idx + rnd.choice([-1, 0, 1])))
                key = scale[(idx + step) % len(scale)]
                if (key % 12) not in [(root + i) % 12 for i in iv] and pos % PPQ == 0:
                    key += 2 if ((key + 2) % 12) in [(root + i) % 12 for i in iv] else -1
                dur = PPQ // 2 if pos % PPQ else PPQ
                parts.append((3, t0 + pos, dur - 20, 3, key, 66))
        # percussion: shaker on eighths, soft kick on 1 and 3, triangle on bar starts of phrases
        for k in range(8):
            parts.append((4, t0 + k * PPQ // 2, PPQ // 4, 9, 70, 36 + (16 if k % 2 else 0)))
        parts.append((4, t0, PPQ // 2, 9, 35, 70))
        parts.append((4, t0 + 2 * PPQ, PPQ // 2, 9, 35, 58))
        if b % 4 == 0:
            parts.append((4, t0, PPQ, 9, 81, 50))
    return bpm, bars, setup, parts, tr


def build(name, composer, seed, out, work):
    rnd = random.Random(seed)
    bpm, bars, setup, parts, tracks = composer(rnd)
    loop_ticks = bars * 4 * PPQ
    beat_samples = RATE * 60 / bpm
    loop_samples = int(round(bars * 4 * beat_samples))
    assert abs(loop_samples - bars * 4 * beat_samples) < 1e-6 and loop_samples % 64 == 0
    assert (bars * 4 * 60000) % bpm == 0  # whole milliseconds
    for tr in tracks[1:]:
        pass
    for ch, prog, vol in setup:
        tracks[ch].program(0, ch, prog)
        tracks[ch].control(0, ch, 7, vol)
        tracks[ch].control(0, ch, 91, 50)  # reverb send
        tracks[ch].control(0, ch, 93, 0)  # no chorus
    for rep in range(3):
        for (trk, tick, length, ch, key, vel) in parts:
            tracks[trk].note(rep * loop_ticks + tick, length, ch, key, vel)
    mid = os.path.join(work, name + ".mid")
    write_midi(mid, tracks, 3 * loop_ticks + 8 * PPQ)
    raw = os.path.join(work, name + "_render.wav")
    subprocess.run(["fluidsynth", "-ni", "-q", "-C", "0", "-R", "1", "-g", "1.0", "-r", str(RATE),
                    "-o", "synth.chorus.active=0", "-F", raw, SOUNDFONT, mid], check=True,
                   stdout=subprocess.DEVNULL)
    with wave.open(raw) as w:
        channels, width = w.getnchannels(), w.getsampwidth()
        data = np.frombuffer(w.readframes(w.getnframes()), "<i2").reshape(-1, channels).astype(np.float64)
    seg = data[loop_samples:2 * loop_samples]
    after = data[2 * loop_samples:2 * loop_samples + 4410]
    # the render repeats: what follows the segment is its own beginning
    drift = np.max(np.abs(after - seg[:len(after)])) / 32768.0
    peak = np.max(np.abs(seg)) / 32768.0
    gain = 0.79 / max(peak, 1e-9)  # normalised to -2 dBFS
    seg = np.clip(np.round(seg * gain), -32768, 32767).astype("<i2")
    # a sample-exact loop continues the way the music was going: a linear
    # predictor fitted on the end predicts the start about as well as it
    # predicts the end itself (a cut three samples off scores about 3)
    err = join_error(seg.astype(np.float64) / 32768.0)
    if err > 2.0:
        raise SystemExit("%s: the loop's end does not flow into its start (%.2f)" % (name, err))
    loop = os.path.join(work, name + ".wav")
    with wave.open(loop, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(seg.tobytes())
    target = os.path.join(out, name + ".ogg")
    subprocess.run(["oggenc", "-Q", "-q", "4", "-s", str(seed), "-o", target, loop], check=True)
    print("%s: %d samples (%.3f s), periodicity error %.5f, join prediction error %.2f, peak %.2f dBFS" %
          (name, loop_samples, loop_samples / RATE, drift, err, 20 * np.log10(peak * gain)))
    if drift > 0.01:
        raise SystemExit("%s does not repeat: the render is not periodic" % name)


def main(out, work=None):
    os.makedirs(out, exist_ok=True)
    own = work is None
    work = work or tempfile.mkdtemp(prefix="qv-music-")
    try:
        build("menu", menu_loop, 1801, out, work)
        build("game", game_loop, 2417, out, work)
    finally:
        if own:
            shutil.rmtree(work)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else None)
