#!/usr/bin/env python3
"""Makes the movie of the demo's ending (examples/demo/ending.avi) from code.

A 2.5-second AVI of 320x240 pictures at 12 frames a second: a sun rises
over the hills of the demo's harbour and the sky brightens behind it, while a
soft two-note tone sounds. The pictures are 8-bit with a palette and RLE8
compressed (runs of one colour cost two bytes), the sound is 8-bit mono PCM
at 22050 Hz, so the file stays small; the engine scales it to the screen.

Everything is drawn and synthesised here; nothing is taken from anywhere.
Run it from anywhere; it writes next to the demo script.
"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo", "ending.avi")
WIDTH, HEIGHT = 320, 240
FPS = 12
FRAMES = 30
RATE = 22050

# Palette: 0-63 sky (night blue to dawn orange), 64 hills, 65 sea, 66-69 sun.
SKY = 64
HILLS, SEA, SUN = 64, 65, 66


def palette():
    colours = []
    for i in range(SKY):
        t = i / (SKY - 1)
        colours.append((int(20 + 235 * t), int(30 + 150 * t), int(80 + 40 * (1 - t))))
    colours.append((40, 70, 40))     # hills
    colours.append((30, 60, 110))    # sea
    colours.append((255, 240, 180))  # sun
    while len(colours) < 256:
        colours.append((0, 0, 0))
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)


def pixel(frame, x, y):
    t = frame / (FRAMES - 1)
    hill_top = 170 + int(12 * math.sin(x / 37.0))
    if y >= 200:
        return SEA
    if y >= hill_top:
        return HILLS
    sun_x, sun_y = 200, 190 - int(110 * t)
    if (x - sun_x) ** 2 + (y - sun_y) ** 2 <= 22 ** 2:
        return SUN
    shade = t * 0.8 + (1 - y / 200.0) * 0.2 * (1 - t)
    return min(SKY - 1, int(shade * (SKY - 1)))


def rle8(frame):
    """One picture, bottom-up, as RLE8 runs (a run at most 255 pixels)."""
    out = bytearray()
    for row in range(HEIGHT - 1, -1, -1):
        x = 0
        while x < WIDTH:
            colour = pixel(frame, x, row)
            n = 1
            while x + n < WIDTH and n < 255 and pixel(frame, x + n, row) == colour:
                n += 1
            out += bytes((n, colour))
            x += n
        out += b"\x00\x00"  # end of line
    out[-2:] = b"\x00\x01"  # end of picture
    return bytes(out)


def tone(frame):
    per_frame = RATE // FPS
    out = bytearray()
    for i in range(per_frame):
        n = frame * per_frame + i
        s = n / RATE
        hz = 523.25 if s < 1.25 else 659.25
        envelope = min(1.0, s * 8) * max(0.0, 1.0 - s / 2.6)
        out.append(128 + int(60 * envelope * math.sin(2 * math.pi * hz * s)))
    return bytes(out)


def chunk(fourcc, body):
    data = fourcc + struct.pack("<I", len(body)) + body
    return data + (b"\x00" if len(body) % 2 else b"")


def lst(kind, body):
    return chunk(b"LIST", kind + body)


def stream_header(kind, handler, scale, rate, length, sample_size, w, h):
    return chunk(b"strh", kind + handler + struct.pack("<IHHIIIIIIiI4h", 0, 0, 0, 0, scale, rate, 0, length,
                                                        0, -1, sample_size, 0, 0, w, h))


def build(frames=FRAMES):
    """The AVI's bytes: the first `frames` frames of the ending (the fuzz seeds take a few)."""
    pictures = [rle8(f) for f in range(frames)]
    sounds = [tone(f) for f in range(frames)]
    biggest = max(len(p) for p in pictures)
    avih = struct.pack("<IIIIIIIIII4I", 1000000 // FPS, biggest * FPS, 0, 0x10, frames, 0, 2, biggest,
                       WIDTH, HEIGHT, 0, 0, 0, 0)
    bih = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 1, 0, 0, 0, 256, 0) + palette()
    wfx = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    hdrl = (chunk(b"avih", avih)
            + lst(b"strl", stream_header(b"vids", b"mrle", 1, FPS, frames, 0, WIDTH, HEIGHT) + chunk(b"strf", bih))
            + lst(b"strl", stream_header(b"auds", b"\0\0\0\0", 1, RATE, sum(map(len, sounds)), 1, 0, 0)
                  + chunk(b"strf", wfx)))
    movi = bytearray()
    index = bytearray()
    for p, s in zip(pictures, sounds):
        for fourcc, body in ((b"00dc", p), (b"01wb", s)):
            index += fourcc + struct.pack("<III", 0x10, 4 + len(movi), len(body))
            movi += chunk(fourcc, body)
    return chunk(b"RIFF", b"AVI " + lst(b"hdrl", hdrl) + lst(b"movi", bytes(movi)) + chunk(b"idx1", bytes(index)))


def main():
    riff = build()
    with open(OUT, "wb") as f:
        f.write(riff)
    print(f"{OUT}: {len(riff)} bytes")


if __name__ == "__main__":
    main()
