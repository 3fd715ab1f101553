#!/usr/bin/env python3
"""Composes the music loops (the menu's, the board's and the game
screen's three backgrounds), renders them with fluidsynth and the
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
    return bpm, bars * 4, setup, parts, tr


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
    return bpm, bars * 4, setup, parts, tr


# The game screen's three background loops share their tools: a tune is
# drawn once per phrase kind and repeated where the form repeats it, its
# strong beats on chord tones and its other notes moving by step, so the
# loops sound composed rather than wandering.
MAJ9, ADD9, DOM7 = (0, 4, 7, 11, 14), (0, 4, 7, 14), (0, 4, 7, 10)


def pitch_classes(chord):
    root, iv = chord
    return {(root + i) % 12 for i in iv}


def nearest(scale, idx, allowed, avoid=None):
    """The scale index nearest to idx whose note is in allowed (idx itself
    when none is), passing over `avoid` (the note just played) when another
    is as near or one step further."""
    for d in (0, 1, -1, 2, -2, 3, -3):
        k = idx + d
        if 0 <= k < len(scale) and scale[k] % 12 in allowed and k != avoid:
            return k
    return nearest(scale, idx, allowed) if avoid is not None else idx


def tune(rnd, chords, scale, rhythms, start, strong, cadence_rhythm, rest=0.0):
    """One phrase of melody over `chords` (one per bar): a list per bar of
    (position, length, key). Notes on the `strong` positions are chord
    tones; the others move a step or two from the note before, drawn
    towards the middle of the scale and turned back at its ends; the last
    bar plays `cadence_rhythm` on chord tones; `rest` is the chance to
    leave a weak note out."""
    idx = start
    centre = (len(scale) - 1) / 2
    bars = []
    for b, chord in enumerate(chords):
        pcs = pitch_classes(chord)
        rhythm = cadence_rhythm if b == len(chords) - 1 else rnd.choice(rhythms)
        notes = []
        for pos, dur in rhythm:
            up = rnd.random() < 0.5 + 0.12 * (centre - idx)
            step = rnd.choice((1, 1, 2)) * (1 if up else -1)
            if not 0 <= idx + step < len(scale):
                step = -step
            if pos in strong or b == len(chords) - 1:
                idx = nearest(scale, idx + (step if rnd.random() < 0.6 else 0), pcs, avoid=idx)
            else:
                idx += step
                if rnd.random() < rest:
                    continue
            notes.append((pos, dur, scale[idx]))
        bars.append(notes)
    return bars


def human(rnd, vel, spread=6):
    return max(1, min(127, vel + rnd.randint(-spread, spread)))


def calm_loop(rnd):
    """Moonlit pond: a slow waltz in F, 72 BPM, 32 bars of 3/4 (80 s).
    Flute over a harp's rocking arpeggios, slow strings and a bowed bass."""
    bpm, beats_per_bar = 72, 3
    F, Dm7, Bb7, C, Am7, Bb, Csus, Gm7, Dm, F7 = (53, MAJ), (50, MIN7), (46, MAJ7), (48, MAJ), (45, MIN7), \
        (46, MAJ), (48, SUS), (43, MIN7), (50, MIN), (53, MAJ7)
    phrases = {"A": [F, Dm7, Bb7, C, F, Am7, Bb, Csus], "A2": [F, Dm7, Bb7, C, Dm, Bb, Gm7, C],
               "B": [Bb7, C, Am7, Dm7, Gm7, C, F7, F], "A3": [F, Dm7, Bb7, C, Bb, Gm7, Csus, C]}
    form = ["A", "A2", "B", "A3"]
    scale = [60, 62, 65, 67, 69, 72, 74, 77, 79, 81]  # F major pentatonic (and C), flute's middle
    bar = beats_per_bar * PPQ
    rhythms = [[(0, 2 * PPQ), (2 * PPQ, PPQ)], [(0, PPQ), (PPQ, PPQ), (2 * PPQ, PPQ)],
               [(0, PPQ * 3 // 2), (PPQ * 3 // 2, PPQ // 2), (2 * PPQ, PPQ)], [(0, PPQ), (PPQ, 2 * PPQ)]]
    strong = {0}
    head = tune(rnd, phrases["A"][:4], scale, rhythms, 5, strong, [(0, 2 * PPQ), (2 * PPQ, PPQ)])
    tails = {k: tune(rnd, phrases[k][4:], scale, rhythms, 5, strong, [(0, 3 * PPQ - 40)]) for k in ("A", "A2", "A3")}
    bridge = tune(rnd, phrases["B"], scale, rhythms, 7, strong, [(0, 3 * PPQ - 40)])
    melody = {"A": head + tails["A"], "A2": head + tails["A2"], "A3": head + tails["A3"], "B": bridge}
    tr = [Track() for _ in range(5)]
    tr[0].tempo(0, bpm)
    setup = [(0, 0, 73, 84, 64), (1, 1, 46, 86, 60), (2, 2, 49, 70, 72), (3, 3, 43, 78, 50), (4, 4, 8, 60, 80)]
    parts = []
    b = 0
    for kind in form:
        for k, chord in enumerate(phrases[kind]):
            root, iv = chord
            t0 = b * bar
            for pos, dur, key in melody[kind][k]:
                parts.append((0, t0 + pos, dur - 30, 0, key, human(rnd, 72 if pos == 0 else 62)))
                if kind == "B" and pos == 0 and k % 2 == 1:  # celesta echoes the bridge, an octave up
                    parts.append((4, t0 + pos + PPQ // 2, PPQ, 4, key + 12, human(rnd, 44)))
            # harp: the bass of the chord, then eighths rocking up and back
            tones = [root - 12, root, root + iv[1], root + iv[2], root + 12, root + iv[2]]
            for i, key in enumerate(tones):
                parts.append((1, t0 + i * PPQ // 2, PPQ * 2, 1, key, human(rnd, 60 if i == 0 else 48, 4)))
            for i in iv[:4]:
                parts.append((2, t0, bar - 20, 2, root + 12 + i if i < 7 else root + i, human(rnd, 44, 3)))
            parts.append((3, t0, bar - 30, 3, root - 12 if root >= 48 else root, human(rnd, 70, 4)))
            b += 1
    return bpm, b * beats_per_bar, setup, parts, tr


def lively_loop(rnd):
    """Firefly dance: a light, skipping tune in D, 150 BPM, 40 bars of 4/4
    (64 s). Kalimba over nylon guitar chops, a walking bass, a piccolo
    answer in the bridge and hand percussion."""
    bpm = 150
    D, Bm, G, A, Em7, A7, Fsm, Em, Asus = (50, MAJ), (47, MIN), (43, MAJ), (45, MAJ), (40, MIN7), (45, DOM7), \
        (42, MIN), (40, MIN), (45, SUS)
    phrases = {"A": [D, Bm, G, A, D, Bm, Em7, A7], "B": [G, A, Fsm, Bm, G, A, Bm, A],
               "C": [G, G, Em, Em, Bm, Bm, Asus, A7]}
    form = ["A", "A", "B", "A", "C"]
    scale = [62, 64, 66, 69, 71, 74, 76, 78, 81, 83]  # D major pentatonic
    bar = 4 * PPQ
    e = PPQ // 2
    rhythms = [[(0, e), (e, e), (2 * e, 2 * e), (5 * e, e), (6 * e, 2 * e)],
               [(0, 2 * e), (3 * e, e), (4 * e, e), (5 * e, e), (6 * e, e), (7 * e, e)],
               [(0, e), (e, 2 * e), (3 * e, e), (4 * e, 2 * e), (6 * e, e), (7 * e, e)],
               [(0, 3 * e), (3 * e, e), (4 * e, e), (5 * e, 3 * e)]]
    strong = {0, 4 * e}
    tunes = {k: tune(rnd, phrases[k][:4], scale, rhythms, 5, strong, [(0, 2 * e), (2 * e, e), (3 * e, 5 * e)])
             + tune(rnd, phrases[k][4:], scale, rhythms, 5, strong, [(0, 3 * e), (3 * e, e), (4 * e, 4 * e)])
             for k in phrases}
    answer = tune(rnd, phrases["B"], scale, [[(2 * e, e), (3 * e, e), (6 * e, 2 * e)], [(4 * e, 2 * e), (6 * e, e),
                                                                                         (7 * e, e)]],
                  7, {2 * e, 4 * e, 6 * e}, [(0, 4 * e)])
    tr = [Track() for _ in range(5)]
    tr[0].tempo(0, bpm)
    setup = [(0, 0, 108, 100, 40), (1, 1, 24, 78, 40), (2, 2, 32, 96, 24), (3, 3, 72, 62, 50)]
    parts = []
    b = 0
    for n, kind in enumerate(form):
        for k, chord in enumerate(phrases[kind]):
            root, iv = chord
            t0 = b * bar
            if kind != "C" or k >= 4:  # the breakdown opens on the rhythm alone
                for pos, dur, key in tunes[kind][k]:
                    parts.append((0, t0 + pos, dur - 20, 0, key + 12, human(rnd, 84 if pos in strong else 70)))
            if kind == "B":
                for pos, dur, key in answer[k]:
                    parts.append((3, t0 + pos, dur - 30, 3, key + 12, human(rnd, 60)))
            # guitar: chords on the off-beats, a push before bar 1 of each pair
            for pos in (e, 3 * e, 5 * e, 7 * e) if k % 2 == 0 else (e, 3 * e, 4 * e, 6 * e):
                for i in iv[:3]:
                    parts.append((1, t0 + pos, e - 40, 1, root + 12 + i, human(rnd, 58, 4)))
            # bass: root, fifth, octave, a step into the next chord
            nxt = phrases[kind][(k + 1) % 8] if k < 7 else phrases[form[(n + 1) % len(form)]][0]
            step = nxt[0] - 12 + (1 if nxt[0] < root else -1) * (2 if abs(nxt[0] - root) > 2 else 1)
            for pos, key, dur in ((0, root - 12, 3 * e), (3 * e, root - 5, e), (4 * e, root, 2 * e),
                                  (6 * e, root - 5, e), (7 * e, step, e)):
                parts.append((2, t0 + pos, dur - 30, 2, key, human(rnd, 92 if pos == 0 else 78, 4)))
            # percussion: shaker eighths, congas, a clave son pattern over two bars
            for i in range(8):
                parts.append((4, t0 + i * e, e // 2, 9, 82, human(rnd, 52 if i % 2 else 34, 4)))
            for pos, key, vel in ((0, 64, 70), (3 * e, 63, 58), (4 * e, 64, 62), (6 * e, 63, 60), (7 * e, 62, 50)):
                parts.append((4, t0 + pos, e, 9, key, human(rnd, vel, 5)))
            clave = (0, 3 * e, 6 * e) if k % 2 == 0 else (2 * e, 4 * e)
            for pos in clave:
                parts.append((4, t0 + pos, e, 9, 75, human(rnd, 54, 4)))
            if kind == "B":
                parts.append((4, t0 + 2 * e, e, 9, 54, human(rnd, 46)))
                parts.append((4, t0 + 6 * e, e, 9, 54, human(rnd, 46)))
            b += 1
    return bpm, b * 4, setup, parts, tr


def dreamy_loop(rnd):
    """Starlight drift: slow, floating harmony in E with the lydian raised
    fourth, 84 BPM, 28 bars of 4/4 (80 s). Celesta over vibraphone
    arpeggios, a choir pad, a fretless bass and a few glockenspiel stars."""
    bpm = 84
    E, Fs, Csm, Amaj, Bsus, Gsm, Fsm, B = (52, MAJ9), (54, ADD9), (49, MIN7), (45, MAJ9), (47, SUS), (44, MIN7), \
        (42, MIN7), (47, MAJ)
    phrases = [[E, Fs, E, Fs], [Csm, Amaj, E, Bsus], [E, Fs, Gsm, Amaj], [Csm, Amaj, Fsm, Bsus],
               [Amaj, Gsm, Fsm, E], [Amaj, Bsus, Csm, B], [E, Fs, Amaj, Bsus]]
    scale = [64, 66, 68, 70, 71, 73, 75, 76, 78, 80, 83]  # E lydian, celesta range
    bar = 4 * PPQ
    rhythms = [[(0, 2 * PPQ), (2 * PPQ, 2 * PPQ)], [(0, 3 * PPQ), (3 * PPQ, PPQ)],
               [(PPQ, PPQ), (2 * PPQ, 2 * PPQ)], [(0, PPQ), (PPQ, PPQ), (2 * PPQ, 2 * PPQ)]]
    strong = {0, 2 * PPQ}
    first = tune(rnd, phrases[0], scale, rhythms, 7, strong, [(0, 4 * PPQ - 40)], rest=0.2)
    tunes = [first] + [tune(rnd, ph, scale, rhythms, 7, strong, [(0, 4 * PPQ - 40)], rest=0.2) for ph in phrases[1:6]] \
        + [first[:2] + tune(rnd, phrases[6][2:], scale, rhythms, 7, strong, [(0, 4 * PPQ - 40)])]
    tr = [Track() for _ in range(5)]
    tr[0].tempo(0, bpm)
    setup = [(0, 0, 8, 96, 96), (1, 1, 11, 76, 96), (2, 2, 91, 60, 110), (3, 3, 35, 88, 64)]
    parts = []
    b = 0
    for n, ph in enumerate(phrases):
        for k, chord in enumerate(ph):
            root, iv = chord
            t0 = b * bar
            for pos, dur, key in tunes[n][k]:
                parts.append((0, t0 + pos, dur, 0, key, human(rnd, 70 if pos in strong else 58)))
            # vibraphone: the chord spread upwards and back in eighths
            tones = [root + 12 + i for i in iv] + [root + 24 + iv[1]]
            order = list(range(len(tones))) + list(range(len(tones) - 2, 0, -1))
            for i in range(8):
                key = tones[order[i % len(order)]]
                parts.append((1, t0 + i * PPQ // 2, PPQ, 1, key, human(rnd, 46 if i % 4 else 56, 4)))
            for i in iv[:4]:
                parts.append((2, t0, bar - 20, 2, root + 12 + (i % 12), human(rnd, 50, 3)))
            low = (52 if chord == Fs else root) - 12  # F# major over an E pedal: the lydian colour
            parts.append((3, t0, 2 * PPQ + PPQ // 2, 3, low, human(rnd, 80, 4)))
            parts.append((3, t0 + 3 * PPQ, PPQ - 40, 3, low + 7, human(rnd, 64, 4)))
            if rnd.random() < 0.5:  # a star: two high glockenspiel notes from the chord
                pos = rnd.choice((PPQ // 2, 3 * PPQ // 2, 5 * PPQ // 2))
                for j in range(2):
                    key = root + 36 + iv[rnd.randrange(len(iv))] % 12
                    parts.append((4, t0 + pos + j * PPQ // 4, PPQ // 2, 4, key, human(rnd, 34, 4)))
            b += 1
    setup.append((4, 4, 9, 70, 120))
    return bpm, b * 4, setup, parts, tr


def build(name, composer, seed, out, work, quality=4):
    rnd = random.Random(seed)
    bpm, beats, setup, parts, tracks = composer(rnd)
    loop_ticks = beats * PPQ
    beat_samples = RATE * 60 / bpm
    loop_samples = int(round(beats * beat_samples))
    assert abs(loop_samples - beats * beat_samples) < 1e-6 and loop_samples % 64 == 0
    assert (beats * 60000) % bpm == 0  # whole milliseconds
    for entry in setup:
        trk, ch, prog, vol, reverb = entry if len(entry) == 5 else (entry[0],) + tuple(entry) + (50,)
        tracks[trk].program(0, ch, prog)
        tracks[trk].control(0, ch, 7, vol)
        tracks[trk].control(0, ch, 91, reverb)  # reverb send
        tracks[trk].control(0, ch, 93, 0)  # no chorus
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
    subprocess.run(["oggenc", "-Q", "-q", str(quality), "-s", str(seed), "-o", target, loop], check=True)
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
        # the game screen's three, one drawn at random each time it opens
        for name, composer, seed in (("background0", calm_loop, 3301), ("background1", lively_loop, 3302),
                                     ("background2", dreamy_loop, 3303)):
            build(name, composer, seed, out, work, quality=3)
    finally:
        if own:
            shutil.rmtree(work)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else None)
