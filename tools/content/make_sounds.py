#!/usr/bin/env python3
"""Synthesises the sound effects of the shell, the board and the game
screens into OUT
(content/data/snd) as 16-bit 44.1 kHz mono WAV. Everything is additive synthesis and filtered noise
from a fixed seed; each sound is normalised to a peak of PEAK_DB.
    make_sounds.py OUT
"""
import os
import sys
import wave

import numpy as np

RATE = 44100
PEAK_DB = -3.0


def t_axis(dur):
    return np.arange(int(round(dur * RATE))) / RATE


def env(dur, attack=0.005, decay=0.2):
    """Exponential decay after a short linear attack, faded out at the end."""
    t = t_axis(dur)
    e = np.minimum(t / attack, 1.0) * np.exp(-np.maximum(t - attack, 0) / decay)
    fade = int(0.01 * RATE)
    e[-fade:] *= np.linspace(1, 0, fade)
    return e


def sine(freq, dur, phase=0.0):
    t = t_axis(dur)
    if callable(freq):
        ph = 2 * np.pi * np.cumsum(freq(t)) / RATE
        return np.sin(ph + phase)
    return np.sin(2 * np.pi * freq * t + phase)


def bell(freq, dur, decay=0.35, bright=1.0):
    """Inharmonic partials of a small glass bell."""
    out = np.zeros(len(t_axis(dur)))
    for ratio, amp, dk in ((1.0, 1.0, 1.0), (2.76, 0.5 * bright, 0.5), (5.4, 0.25 * bright, 0.3),
                           (8.93, 0.12 * bright, 0.2)):
        out += amp * sine(freq * ratio, dur) * env(dur, 0.002, decay * dk)
    return out


def pluck(freq, dur, decay=0.12):
    out = np.zeros(len(t_axis(dur)))
    for n in range(1, 6):
        out += (0.6 ** (n - 1)) * sine(freq * n, dur) * env(dur, 0.002, decay / n ** 0.5)
    return out


def noise(dur, rng):
    return rng.standard_normal(len(t_axis(dur)))


def band(x, lo, hi):
    """An ideal band-pass through the spectrum (the signals are short)."""
    spectrum = np.fft.rfft(x)
    f = np.fft.rfftfreq(len(x), 1 / RATE)
    spectrum[(f < lo) | (f > hi)] = 0
    return np.fft.irfft(spectrum, len(x))


def at(total, parts):
    """Mixes (start time, signal) pairs into one signal of `total` seconds."""
    out = np.zeros(len(t_axis(total)))
    for start, sig in parts:
        i = int(round(start * RATE))
        n = min(len(sig), len(out) - i)
        out[i:i + n] += sig[:n]
    return out


def note(n):
    """Frequency of a MIDI note number."""
    return 440.0 * 2 ** ((n - 69) / 12)


def sounds(rng):
    s = {}
    d = 0.06
    s["click"] = band(noise(d, rng), 1500, 6000) * env(d, 0.0005, 0.006) * 0.6 + \
        sine(2200, d) * env(d, 0.0005, 0.012)
    d = 0.45
    s["window_show"] = at(d, [(i * 0.05, bell(note(72 + k), 0.3, 0.12, 0.6) * (0.7 + 0.1 * i))
                              for i, k in enumerate((0, 4, 7, 12, 16))]) + \
        band(noise(d, rng), 3000, 9000) * env(d, 0.15, 0.08) * 0.15
    s["window_hide"] = at(d, [(i * 0.05, bell(note(84 - k), 0.3, 0.1, 0.5) * (1.0 - 0.12 * i))
                              for i, k in enumerate((0, 5, 8, 12, 17))])
    d = 0.22
    sweep = band(noise(d, rng), 400, 5000) * env(d, 0.06, 0.05)
    s["swap"] = sweep * 0.5 + at(d, [(0.05, pluck(note(76), 0.17, 0.06) * 0.6)])
    d = 0.38
    s["swap_back"] = \
        at(d, [(0, sweep * 0.4), (0.04, pluck(note(67), 0.15, 0.05)), (0.17, pluck(note(63), 0.2, 0.07))])
    for v, (base, lo) in enumerate(((79, 300), (83, 250), (76, 350)), 1):
        d = 0.6
        burst = band(noise(d, rng), lo, 7000) * env(d, 0.001, 0.05) * 0.7
        thump = sine(lambda t: 180 * np.exp(-t * 18) + 50, d) * env(d, 0.001, 0.07)
        sparkle = at(d, [(0.02 + 0.05 * i, bell(note(base + k), 0.4, 0.1, 0.8) * 0.35)
                         for i, k in enumerate((0, 7, 12)[:v + 1])])
        s["explosion_%d" % v] = burst + thump * 0.8 + sparkle
    d = 0.9
    s["cell_complete"] = at(d, [(0, bell(note(84), 0.9, 0.3)), (0.03, bell(note(88), 0.85, 0.3) * 0.7),
                                (0.06, bell(note(91), 0.8, 0.3) * 0.6)])
    d = 0.5
    clack = band(noise(0.05, rng), 2000, 8000) * env(0.05, 0.0005, 0.008)
    s["lock_open"] = at(d, [(0, clack), (0.06, clack * 0.8), (0.1, pluck(note(60), 0.35, 0.1) * 0.7),
                            (0.16, bell(note(79), 0.34, 0.12) * 0.6)])
    d = 1.2
    s["artifact"] = at(d, [(i * 0.06, bell(note(k), 0.7, 0.25) * 0.55) for i, k in
                           enumerate((76, 79, 83, 88, 91, 95))]) + \
        band(noise(d, rng), 5000, 12000) * env(d, 0.3, 0.3) * 0.12
    d = 2.2
    fan = [(0.0, 72), (0.15, 76), (0.3, 79), (0.45, 84)]
    s["level_won"] = at(d, [(t0, pluck(note(n), 0.8, 0.25) + bell(note(n + 12), 0.8, 0.2) * 0.3) for t0, n in fan] +
                        [(0.6, (pluck(note(72), 1.6, 0.6) + pluck(note(76), 1.6, 0.6) + pluck(note(79), 1.6, 0.6) +
                                bell(note(96), 1.6, 0.5) * 0.3) * 0.6)])
    d = 1.9
    s["level_lost"] = at(d, [(0.0, pluck(note(67), 0.6, 0.25)), (0.25, pluck(note(63), 0.6, 0.25)),
                             (0.5, pluck(note(60), 0.6, 0.25)),
                             (0.75, (pluck(note(55), 1.1, 0.5) + pluck(note(58), 1.1, 0.5)) * 0.7)])
    d = 0.08
    s["tick"] = band(noise(d, rng), 2500, 9000) * env(d, 0.0005, 0.004) * 0.7 + \
        sine(1400, d) * env(d, 0.0005, 0.015) * 0.8
    d = 0.7
    s["combo"] = at(d, [(i * 0.045, bell(note(k), 0.4, 0.12) * (0.5 + 0.08 * i)) for i, k in
                        enumerate((72, 76, 79, 84, 88, 91))])
    return s


def board_sounds(rng):
    """The board's sounds, named as the board plays them."""
    s = {}
    d = 0.35
    s["choice"] = bell(note(88), d, 0.09, 0.7) * 0.8 + bell(note(95), d, 0.06, 0.4) * 0.3
    s["unchoice"] = at(d, [(0, bell(note(86), 0.3, 0.07, 0.5) * 0.6), (0.05, bell(note(81), 0.3, 0.08, 0.5) * 0.7)])
    for k, (lo, hi, pitch) in enumerate(((500, 4500, 76), (400, 3800, 79), (650, 5500, 74)), 1):
        d = 0.26
        swish = band(noise(d, rng), lo, hi) * env(d, 0.07 + 0.01 * k, 0.05)
        s["swap%d" % k] = swish * 0.6 + at(d, [(0.06, pluck(note(pitch), 0.18, 0.05) * 0.35)])
    # first-wave pops: a short burst, a thump and one bell
    for k, pitch in enumerate((79, 83, 86), 1):
        d = 0.45
        burst = band(noise(d, rng), 400, 7000) * env(d, 0.001, 0.035) * 0.7
        thump = sine(lambda t: 200 * np.exp(-t * 20) + 60, d) * env(d, 0.001, 0.05)
        s["explosion1_%d" % k] = burst + thump * 0.8 + at(d, [(0.015, bell(note(pitch), 0.4, 0.09, 0.8) * 0.4)])
    # ever bigger chains: a longer burst, brighter and with more bells
    chains = [("explosion2_1", 2, 81, 0.7), ("explosion2_2", 2, 84, 0.7), ("explosion3", 3, 86, 0.85),
              ("explosion4", 4, 88, 1.0), ("explosion5", 6, 91, 1.2)]
    for name, bells, pitch, size in chains:
        d = 0.5 + 0.12 * bells
        burst = band(noise(d, rng), 300, 6000 + 1200 * bells) * env(d, 0.001, 0.04 * size) * 0.7
        thump = sine(lambda t: 160 * np.exp(-t * 16) + 48, d) * env(d, 0.001, 0.06 * size)
        steps = (0, 4, 7, 12, 16, 19)[:bells]
        ring = at(d, [(0.02 + 0.045 * i, bell(note(pitch + k), 0.5, 0.14 * size, 0.9) * 0.45) for i, k in
                      enumerate(steps)])
        s[name] = burst * (0.8 + 0.2 * size) + thump * 0.6 + ring
    d = 0.12
    s["appearance"] = sine(lambda t: 900 + 2600 * t, d) * env(d, 0.002, 0.03) * 0.6 + \
        band(noise(d, rng), 3000, 9000) * env(d, 0.001, 0.01) * 0.2
    for k, top in enumerate((96, 100, 103), 1):
        d = 0.6
        glitter = at(d, [(0.03 * i, bell(note(top - 14 + (i * 5) % 14), 0.25, 0.05, 1.0) * (0.25 + 0.04 * i))
                         for i in range(12)])
        s["shine%d" % k] = glitter + band(noise(d, rng), 6000, 14000) * env(d, 0.2, 0.15) * 0.12
    d = 0.32
    s["hint_swap"] = at(d, [(0, pluck(note(72), 0.2, 0.06) * 0.6), (0.1, pluck(note(76), 0.2, 0.07) * 0.6)])
    d = 0.09
    s["flower_shine"] = bell(note(100), d, 0.025, 0.5) * 0.6
    d = 0.7
    s["startgame1"] = at(d, [(0.05 * i, bell(note(72 + k), 0.4, 0.1, 0.6) * (0.35 + 0.06 * i))
                             for i, k in enumerate((0, 2, 4, 7, 9, 12, 14, 16))]) + \
        band(noise(d, rng), 4000, 11000) * env(d, 0.25, 0.12) * 0.12
    d = 0.9
    s["startgame2"] = at(d, [(0.07 * i, pluck(note(67 + k), 0.4, 0.1) * 0.5 + bell(note(79 + k), 0.4, 0.08, 0.5) * 0.2)
                             for i, k in enumerate((0, 5, 9, 12, 9, 12, 16))])
    d = 1.6
    s["level_failed"] = at(d, [(0.0, pluck(note(69), 0.5, 0.2)), (0.22, pluck(note(65), 0.5, 0.2)),
                               (0.44, (pluck(note(62), 1.1, 0.45) + pluck(note(57), 1.1, 0.45)) * 0.7)])
    d = 1.8
    s["level_win1"] = at(d, [(0.09 * i, bell(note(n), 0.9, 0.25, 0.8) * 0.5 + pluck(note(n - 12), 0.9, 0.2) * 0.4)
                             for i, n in enumerate((72, 76, 79, 84, 88, 91))])
    d = 2.4
    s["level_win2"] = at(d, [(0.0, (pluck(note(67), 1.5, 0.5) + pluck(note(71), 1.5, 0.5) + pluck(note(74), 1.5, 0.5))
                                * 0.5), (0.35, (pluck(note(72), 2.0, 0.7) + pluck(note(76), 2.0, 0.7) +
                                                pluck(note(79), 2.0, 0.7) + bell(note(96), 2.0, 0.6) * 0.35) * 0.55)])
    d = 2.0
    s["level_loose"] = at(d, [(0.3 * i, pluck(note(n), 0.8, 0.3) * (1 - 0.1 * i)) for i, n in enumerate((64, 60, 57))] +
                          [(0.95, (pluck(note(52), 1.0, 0.5) + pluck(note(55), 1.0, 0.5)) * 0.6)])
    d = 0.55
    s["cell_fly"] = sine(lambda t: 600 + 1800 * (t / d), d) * env(d, 0.05, 0.25) * 0.3 + \
        band(noise(d, rng), 2000, 8000) * env(d, 0.12, 0.12) * 0.3
    d = 0.6
    s["cell"] = bell(note(84), d, 0.2, 0.8) * 0.7 + bell(note(91), d, 0.15, 0.5) * 0.35
    d = 0.5
    s["time_bonus"] = at(d, [(0.04 * i, bell(note(84 + (i % 3) * 4), 0.2, 0.05, 0.6) * 0.5) for i in range(8)])
    d = 0.6
    s["combo_text"] = at(d, [(0, bell(note(79), 0.5, 0.15)), (0.08, bell(note(86), 0.5, 0.15) * 0.8),
                             (0.16, bell(note(91), 0.4, 0.12) * 0.6)])
    return s


def screen_sounds(rng):
    """The game screen's and the statistics screens' sounds."""
    s = {}
    # the clock's minute warning: a soft two-tone chime falling a fourth, over a low pluck
    d = 1.1
    s["attention"] = at(d, [(0.0, bell(note(81), 0.9, 0.22, 0.7) * 0.7), (0.0, pluck(note(57), 0.8, 0.2) * 0.35),
                            (0.22, bell(note(76), 0.85, 0.25, 0.7) * 0.8), (0.22, pluck(note(52), 0.8, 0.22) * 0.35)])
    # the last seconds: two seconds of a pulsing warning, four beats ever
    # closer to the beat's top, the last one dying away before the end
    d = 2.0
    beats = []
    for i in range(4):
        t0 = 0.5 * i
        beats.append((t0, bell(note(79 + 2 * i), 0.45, 0.09, 0.9) * (0.55 + 0.12 * i)))
        beats.append((t0 + 0.12, bell(note(74 + 2 * i), 0.35, 0.07, 0.6) * (0.4 + 0.1 * i)))
        beats.append((t0, pluck(note(50), 0.4, 0.08) * 0.5))
    s["attention2s"] = at(d, beats) * env(d, 0.002, 10.0) * np.minimum(1, (d - t_axis(d)) / 0.25)
    # a statistics line counting up: a short bright pluck with a tick
    d = 0.16
    s["score_line"] = pluck(note(84), d, 0.035) * 0.7 + band(noise(d, rng), 3000, 9000) * env(d, 0.0005, 0.005) * 0.3
    # a new best score: a rising run of bells into a ringing chord with glitter
    d = 1.8
    run = [(0.07 * i, bell(note(n), 0.5, 0.14, 0.8) * (0.4 + 0.05 * i)) for i, n in enumerate((72, 76, 79, 84, 88))]
    chord = (bell(note(84), 1.4, 0.45) + bell(note(88), 1.4, 0.45) * 0.8 + bell(note(91), 1.4, 0.4) * 0.7 +
             pluck(note(60), 1.4, 0.5) * 0.5) * 0.55
    s["best_score"] = at(d, run + [(0.38, chord)]) + band(noise(d, rng), 6000, 14000) * env(d, 0.45, 0.35) * 0.08
    # a new best time: a clock's tick and tock, then a bright chord in another key
    d = 1.6
    tick = band(noise(0.06, rng), 2500, 9000) * env(0.06, 0.0005, 0.005) * 0.6 + sine(1800, 0.06) * env(0.06, 0.0005,
                                                                                                   0.012) * 0.6
    tock = band(noise(0.06, rng), 1200, 5000) * env(0.06, 0.0005, 0.006) * 0.6 + sine(1100, 0.06) * env(0.06, 0.0005,
                                                                                                   0.015) * 0.6
    chord = (bell(note(79), 1.2, 0.4) + bell(note(83), 1.2, 0.4) * 0.8 + bell(note(86), 1.2, 0.35) * 0.7 +
             pluck(note(55), 1.2, 0.45) * 0.5) * 0.55
    s["best_time"] = at(d, [(0.0, tick), (0.16, tock), (0.32, tick), (0.4, chord)])
    return s


def write_wav(path, x):
    x = np.asarray(x, np.float64)
    x = x - np.mean(x)
    x *= 10 ** (PEAK_DB / 20) / max(np.max(np.abs(x)), 1e-9)
    fade = min(64, len(x) // 4)  # no click at either end
    x[:fade] *= np.linspace(0, 1, fade)
    x[-fade:] *= np.linspace(1, 0, fade)
    pcm = np.round(x * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


def main(out):
    os.makedirs(out, exist_ok=True)
    rng = np.random.default_rng(20261208)
    for name, x in sounds(rng).items():
        write_wav(os.path.join(out, name + ".wav"), x)
    rng = np.random.default_rng(20261209)  # the board's own stream: the sounds above stay as they are
    for name, x in board_sounds(rng).items():
        write_wav(os.path.join(out, name + ".wav"), x)
    rng = np.random.default_rng(20261210)  # the game screens' stream
    for name, x in screen_sounds(rng).items():
        write_wav(os.path.join(out, name + ".wav"), x)


if __name__ == "__main__":
    main(sys.argv[1])
