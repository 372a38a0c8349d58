#!/usr/bin/env python3
"""Draws the pictures of the picture demo (examples/demo) from code.

Backgrounds are PNG files, sprites BMP files in the engine's modes (a key
colour in the top-left pixel, a picture followed by its mask for alpha
mode), standing pictures PNG files with an alpha channel, and a mask for the
mask wipes. Run it from anywhere; it writes next to the demo script.
"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo")


def write_png(name, width, height, pixel, alpha=False):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y)[: 4 if alpha else 3])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def write_bmp(name, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - width * 3)
        rows += row
    header = b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(header + info + rows)


def clamp(v):
    return max(0, min(255, int(v)))


def sky(x, y):
    t = y / 479
    return (clamp(40 + 150 * t), clamp(70 + 120 * t), clamp(160 + 60 * t))


def hills(x, y):
    ridge = 300 + 40 * math.sin(x / 70) + 20 * math.sin(x / 23)
    if y > ridge:
        shade = (y - ridge) / 180
        return (clamp(40 + 30 * shade), clamp(120 - 40 * shade), clamp(50))
    t = y / 479
    return (clamp(250 - 60 * t), clamp(160 - 40 * t), clamp(90 + 60 * t))


def star_cells(x, y):
    # Three cells of 64 × 64: a star that grows; magenta is the key colour.
    cell, cx = divmod(x, 64)
    if x == 0 and y == 0:
        return (255, 0, 255)
    dx, dy = cx - 32, y - 32
    angle = math.atan2(dy, dx)
    radius = (14 + 6 * cell) * (0.6 + 0.4 * math.cos(5 * angle))
    if math.hypot(dx, dy) <= radius:
        return (255, clamp(200 + 20 * cell), 60)
    return (255, 0, 255)


def orb(x, y):
    # Picture (left 96) followed by its mask (right 96): a soft round glow.
    half = 96
    px = x % half
    d = math.hypot(px - 48, y - 48) / 48
    if x < half:
        return (clamp(120 + 135 * (1 - d)), clamp(200 * (1 - d) + 40), 255)
    m = clamp(255 * min(1.0, d * d))
    return (m, m, m)


def figure(colour):
    def pixel(x, y):
        head = math.hypot(x - 80, y - 60) < 40
        body = 100 <= y and abs(x - 80) < 30 + (y - 100) * 0.25
        if head or body:
            edge = 255 if (head and math.hypot(x - 80, y - 60) < 38) or body else 128
            return (*colour, edge)
        return (0, 0, 0, 0)
    return pixel


def ripple_mask(x, y):
    v = clamp(255 * (math.hypot(x - 32, y - 32) / 45))
    return (v, v, v)


def page_arrow(up, lit):
    # A 20 × 20 arrow for the back-log's page buttons; magenta, the top-left
    # pixel's colour, is the key colour. The lit picture shows the pointer over it.
    def pixel(x, y):
        t = y if up else 19 - y
        if 3 <= t <= 16 and abs(x - 9.5) <= (t - 3) * 0.6 + 0.5 and not (x == 0 and y == 0):
            return (255, 240, 150) if lit else (170, 170, 200)
        return (255, 0, 255)
    return pixel


def main():
    write_png("sky.png", 640, 480, sky)
    write_png("hills.png", 640, 480, hills)
    write_bmp("star.bmp", 192, 64, star_cells)
    write_bmp("orb.bmp", 192, 96, orb)
    write_png("left.png", 160, 360, figure((230, 120, 140)), alpha=True)
    write_png("centre.png", 160, 360, figure((120, 200, 230)), alpha=True)
    write_png("right.png", 160, 360, figure((180, 230, 120)), alpha=True)
    write_bmp("ripple.bmp", 64, 64, ripple_mask)
    write_bmp("uoncur.bmp", 20, 20, page_arrow(True, True))
    write_bmp("uoffcur.bmp", 20, 20, page_arrow(True, False))
    write_bmp("doncur.bmp", 20, 20, page_arrow(False, True))
    write_bmp("doffcur.bmp", 20, 20, page_arrow(False, False))


if __name__ == "__main__":
    main()
