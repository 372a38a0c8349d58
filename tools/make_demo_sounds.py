#!/usr/bin/env python3
"""Makes the sounds of the demo (examples/demo) from code.

bgm.mid       a looping piece of eight bars as a Standard MIDI file (melody,
              string pad, bass and soft drums), played through the machine's
              General MIDI soundfont;
se/chime.wav  a two-note chime for a sound effect;
voice/0001.wav a short voice line, "o-ha-yo-u" sung by a formant synthesiser
              (a glottal pulse through three vocal-tract resonances).

Everything is synthesised here; nothing is taken from anywhere. Run it from
anywhere; it writes next to the demo script.
"""
import math
import os
import random
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo")
RATE = 44100


# --- Standard MIDI file -------------------------------------------------------

TICKS = 480  # per quarter note


def var_len(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def track(events):
    """events: (tick, bytes) in any order; returns an MTrk chunk."""
    data = bytearray()
    now = 0
    for tick, message in sorted(events, key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80)):
        data += var_len(tick - now) + message
        now = tick
    data += var_len(0) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


NOTE = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    """'C5' -> 72, 'F#3' -> 54."""
    semis = NOTE[name[0]] + (1 if "#" in name else 0)
    return 12 * (int(name[-1]) + 1) + semis


def notes(channel, line, velocity, start=0, gap=12):
    """line: (name or None, beats) in sequence; returns note on/off events."""
    events = []
    tick = start
    for name, beats in line:
        length = int(beats * TICKS)
        if name:
            for n in name.split("+"):
                events.append((tick, bytes((0x90 | channel, pitch(n), velocity))))
                events.append((tick + length - gap, bytes((0x80 | channel, pitch(n), 0))))
        tick += length
    return events


def program(channel, number):
    return (0, bytes((0xC0 | channel, number)))


def write_midi(name):
    melody = [
        ("E5", 1), ("G5", .5), ("E5", .5), ("D5", 1), ("C5", 1),
        ("A4", 1), ("C5", .5), ("D5", .5), ("E5", 2),
        ("F5", 1), ("E5", .5), ("D5", .5), ("C5", 1), ("A4", 1),
        ("B4", 1), ("D5", 1), ("G5", 2),
        ("G5", 1), ("E5", .5), ("G5", .5), ("A5", 1), ("G5", 1),
        ("E5", 1), ("D5", .5), ("C5", .5), ("A4", 2),
        ("F5", 1), ("E5", 1), ("D5", 1), ("C5", 1),
        ("D5", 1.5), ("B4", .5), ("G4", 2),
    ]
    chords = ["C4+E4+G4", "A3+C4+E4", "F3+A3+C4", "G3+B3+D4",
              "C4+E4+G4", "A3+C4+E4", "D4+F4+A4", "G3+B3+D4+F4"]
    roots = ["C3", "A2", "F2", "G2", "C3", "A2", "D3", "G2"]
    fifths = ["G2", "E2", "C3", "D3", "G2", "E2", "A2", "D3"]
    bass = [n for r, f in zip(roots, fifths) for n in ((r, 2), (f, 1.5), (r, .5))]
    drums = []
    for bar in range(8):
        t = bar * 4 * TICKS
        for eighth in range(8):
            drums += notes(9, [("F#2", .5)], 30 if eighth % 2 else 44, t + eighth * TICKS // 2)
        drums += notes(9, [("C2", 1)], 60, t) + notes(9, [("C2", 1)], 52, t + 2 * TICKS)
        drums += notes(9, [("C#2", 1)], 38, t + TICKS) + notes(9, [("C#2", 1)], 38, t + 3 * TICKS)

    tempo = 60_000_000 // 126  # microseconds per quarter: 8 bars in about 15 s
    conductor = [(0, b"\xff\x51\x03" + tempo.to_bytes(3, "big")),
                 (0, b"\xff\x58\x04\x04\x02\x18\x08")]
    tracks = [
        track(conductor),
        track([program(0, 73)] + notes(0, melody, 84)),                         # flute
        track([program(1, 48)] + notes(1, [(c, 4) for c in chords], 44, gap=4)),  # strings
        track([program(2, 33)] + notes(2, bass, 68)),                           # finger bass
        track(drums),
    ]
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), TICKS)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(header + b"".join(tracks))


# --- WAV files ----------------------------------------------------------------

def write_wav(name, samples, channels):
    """samples: floats in -1 … 1, interleaved when channels is 2."""
    data = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(s * 32767))))) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, channels, RATE, RATE * 2 * channels, 2 * channels, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    path = os.path.join(OUT, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def chime():
    """Two bell strokes, C6 then E6, the second a little to the right."""
    length = int(RATE * 1.1)
    left = [0.0] * length
    right = [0.0] * length
    # A struck bar: the fundamental and two inharmonic partials that die away faster.
    partials = ((1.0, 1.0, 2.2), (2.76, 0.45, 5.0), (5.40, 0.20, 9.0))
    for start, freq, pan in ((0.0, 1046.5, 0.35), (0.14, 1318.5, 0.65)):
        first = int(start * RATE)
        for i in range(length - first):
            t = i / RATE
            attack = min(1.0, t / 0.004)
            v = sum(a * math.exp(-d * t) * math.sin(2 * math.pi * freq * r * t) for r, a, d in partials)
            v *= 0.32 * attack
            left[first + i] += v * (1 - pan)
            right[first + i] += v * pan
    fade = int(RATE * 0.05)
    for i in range(fade):
        k = i / fade
        left[length - 1 - i] *= k
        right[length - 1 - i] *= k
    return [s for pair in zip(left, right) for s in pair]


VOWELS = {  # formant frequencies (Hz) of a light voice
    "a": (850, 1220, 2810),
    "i": (320, 2500, 3100),
    "u": (360, 1350, 2500),
    "e": (500, 1950, 2750),
    "o": (520, 880, 2800),
}


def resonator(freq, bandwidth):
    r = math.exp(-math.pi * bandwidth / RATE)
    b = 2 * r * math.cos(2 * math.pi * freq / RATE)
    c = -r * r
    return 1 - b - c, b, c


def voice():
    """'o-ha-yo-u': vowels with gliding formants, an 'h' of breath, a falling pitch."""
    # (time, vowel, loudness, breath): the line between the points is interpolated.
    plan = [
        (0.00, "o", 0.0, 0.0), (0.05, "o", 0.9, 0.0), (0.20, "o", 0.8, 0.0),
        (0.23, "a", 0.05, 0.7), (0.27, "a", 0.15, 0.5), (0.31, "a", 1.0, 0.05),
        (0.46, "a", 0.9, 0.0), (0.50, "i", 0.6, 0.0), (0.55, "o", 0.95, 0.0),
        (0.72, "o", 0.85, 0.0), (0.80, "u", 0.75, 0.0), (0.95, "u", 0.35, 0.0),
        (1.05, "u", 0.0, 0.0),
    ]
    pitch_points = [(0.0, 205), (0.3, 245), (0.5, 235), (0.75, 190), (1.05, 160)]

    def at(points, t, index):
        for (t0, *v0), (t1, *v1) in zip(points, points[1:]):
            if t0 <= t <= t1:
                k = (t - t0) / (t1 - t0)
                a, b = v0[index], v1[index]
                if isinstance(a, str):
                    fa, fb = VOWELS[a], VOWELS[b]
                    return tuple(x + (y - x) * k for x, y in zip(fa, fb))
                return a + (b - a) * k
        return points[-1][1 + index] if not isinstance(points[-1][1 + index], str) else VOWELS[points[-1][1]]

    rng = random.Random(527)
    length = int(RATE * 1.05)
    phase = 0.0
    last_flow = 0.0
    last_x = high = 0.0
    state = [[0.0, 0.0] for _ in range(3)]
    coeffs = None
    out = []
    for n in range(length):
        t = n / RATE
        if n % 32 == 0:
            formants = at(plan, t, 0)
            coeffs = [resonator(f, bw) for f, bw in zip(formants, (90, 110, 160))]
        f0 = at(pitch_points, t, 0) * (1 + 0.012 * math.sin(2 * math.pi * 5.5 * t))
        phase = (phase + f0 / RATE) % 1.0
        # The glottal flow (Rosenberg's pulse: a slow opening, a quicker
        # close that ends with a corner), differentiated for the radiation
        # from the lips: a source falling off by 6 dB an octave, no DC.
        if phase < 0.4:
            flow = 0.5 * (1 - math.cos(math.pi * phase / 0.4))
        elif phase < 0.56:
            flow = math.cos(math.pi * (phase - 0.4) / 0.32)
        else:
            flow = 0.0
        source = (flow - last_flow) * 20
        last_flow = flow
        loud = at(plan, t, 1)
        breath = at(plan, t, 2)
        x = source * loud * (1 - breath) + rng.uniform(-1, 1) * (0.04 * loud + 0.6 * breath)
        for (a, b, c), s in zip(coeffs, state):
            y = a * x + b * s[0] + c * s[1]
            s[1], s[0] = s[0], y
            x = y
        # A gentle high-pass keeps the breath noise's low rumble out.
        high = x - last_x + 0.995 * high
        last_x = x
        out.append(high)
    peak = max(abs(v) for v in out) or 1.0
    return [0.7 * v / peak for v in out]


def main():
    write_midi("bgm.mid")
    write_wav("se/chime.wav", chime(), 2)
    write_wav("voice/0001.wav", voice(), 1)


if __name__ == "__main__":
    main()
