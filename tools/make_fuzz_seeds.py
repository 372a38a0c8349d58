#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target (fuzz/corpus/<target>/).

Each seed is a small valid input of its target's format, so that fuzzing
starts past the signature checks: pictures (PNG, BMP, a baseline JPEG coded
here directly), SPB and LZSS streams, archives, image tags, scripts and a movie. Only
the standard library is used; run it from anywhere and commit what it writes.
"""
import os
import struct
import zlib

import make_demo_movie

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fuzz", "corpus")


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


class BitWriter:
    """Bits most significant first, as the archive decoders read them."""

    def __init__(self):
        self.bits = []

    def put(self, count, value):
        for i in range(count - 1, -1, -1):
            self.bits.append((value >> i) & 1)

    def finish(self, pad=0):
        bits = self.bits + [pad] * (-len(self.bits) % 8)
        return bytes(int("".join(map(str, bits[i : i + 8])), 2) for i in range(0, len(bits), 8))


def pixel(x, y):
    return ((x * 60 + 20) % 256, (y * 80 + 40) % 256, ((x + y) * 30) % 256)


# PNG: the byte before the file selects the cell count and the alpha-mask layout.
def png(width, height, colour_type, bit_depth=8, palette=None, transparency=None):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    rows = bytearray()
    for y in range(height):
        rows.append(y % 5)  # every filter type once in five rows
        row = bytearray()
        for x in range(width):
            if colour_type == 3:
                row.append((x + y) % len(palette))
            else:
                r, g, b = pixel(x, y)
                row.extend((r, g, b, (x * 90) % 256)[:channels] if channels >= 3 else (r, 200)[:channels])
        if bit_depth < 8:
            per_byte = 8 // bit_depth
            packed = bytearray()
            for i in range(0, len(row), per_byte):
                v = 0
                for j in range(per_byte):
                    v = (v << bit_depth) | ((row[i + j] if i + j < len(row) else 0) & ((1 << bit_depth) - 1))
                packed.append(v)
            row = packed
        rows.extend(row)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0))
    if palette:
        out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    if transparency:
        out += chunk(b"tRNS", transparency)
    return out + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")


def bmp(width, height, bits, top_down=False):
    palette = b""
    if bits <= 8:
        palette = b"".join(bytes((i * 40 % 256, i * 90 % 256, i * 20 % 256, 0)) for i in range(1 << bits))
    stride = (width * bits + 31) // 32 * 4
    rows = bytearray()
    order = range(height) if top_down else range(height - 1, -1, -1)
    for y in order:
        row = bytearray()
        if bits <= 8:
            acc, n = 0, 0
            for x in range(width):
                acc = (acc << bits) | ((x + y) % (1 << bits))
                n += bits
                if n == 8:
                    row.append(acc)
                    acc, n = 0, 0
            if n:
                row.append(acc << (8 - n))
        else:
            for x in range(width):
                r, g, b = pixel(x, y)
                if bits == 16:
                    row += struct.pack("<H", (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))
                else:
                    row += bytes((b, g, r)) + (b"\xff" if bits == 32 else b"")
        rows += row + b"\0" * (stride - len(row))
    offset = 54 + len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + palette + rows


# A cursor file (.cur) of one picture with its hot spot: a BMP body (info
# header with the doubled height, colour table, colour rows, AND mask) or a PNG.
def cursor(width, height, bits, hot, png_body=None):
    if png_body is not None:
        body = png_body
    else:
        picture = bmp(width, height, bits)[14:]
        info = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0, 0, 0, 0, 0, 0)
        mask_stride = (width + 31) // 32 * 4
        mask = b"".join(bytes((0xA5 if y % 2 else 0x00,)) * mask_stride for y in range(height))
        body = info + picture[40:] + mask
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, hot[0], hot[1], len(body), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + body


# A baseline JPEG of DC coefficients only, with one Huffman table for the DC
# sizes (every size a 4-bit code) and one whose only code is end-of-block.
def jpeg(width, height, components):
    def segment(marker, body):
        return bytes((0xFF, marker)) + struct.pack(">H", len(body) + 2) + body

    out = b"\xff\xd8"
    out += segment(0xDB, b"\x00" + bytes([1] * 64))
    sof = struct.pack(">BHHB", 8, height, width, components)
    for c in range(components):
        sof += bytes((c + 1, 0x11, 0))
    out += segment(0xC0, sof)
    dc_bits = [0, 0, 0, 12] + [0] * 12
    out += segment(0xC4, b"\x00" + bytes(dc_bits) + bytes(range(12)))
    out += segment(0xC4, b"\x10" + bytes([1] + [0] * 15) + b"\x00")
    sos = bytes((components,))
    for c in range(components):
        sos += bytes((c + 1, 0x00))
    out += segment(0xDA, sos + b"\x00\x3f\x00")
    bits = BitWriter()
    previous = [0] * components
    for by in range((height + 7) // 8):
        for bx in range((width + 7) // 8):
            for c in range(components):
                value = ((bx * 97 + by * 53 + c * 31) % 256 - 128) * 8
                diff = value - previous[c]
                previous[c] = value
                size = abs(diff).bit_length()
                bits.put(4, size)
                if size:
                    bits.put(size, diff if diff >= 0 else diff + (1 << size) - 1)
                bits.put(1, 0)  # end of block
    data = bits.finish(pad=1)
    return out + data.replace(b"\xff", b"\xff\x00") + b"\xff\xd9"


# SPB: width, height, then per channel a first sample and a 3-bit code per
# group of four samples (0: unchanged, 6: raw bytes, 1: 3-bit steps).
def spb(width, height, code):
    bits = BitWriter()
    bits.put(16, width)
    bits.put(16, height)
    # Walk the serpentine order as the decoder does to know how many groups
    # of four it reads.
    groups, row, column, direction = 0, 0, 1, 1
    while True:
        groups += 1
        for _ in range(4):
            column += direction
            if column < 0 or column >= width:
                row += 1
                direction = 1 if column < 0 else -1
                column = 0 if column < 0 else width - 1
        if row >= height:
            break
    for channel in range(3):
        bits.put(8, 100 + channel * 20)
        for g in range(groups):
            bits.put(3, code)
            for s in range(4):
                if code == 6:
                    bits.put(8, (g * 4 + s) * 37 % 256)
                elif code == 1:
                    bits.put(3, (g + s) % 8)
    return bits.finish()


# LZSS: three leading bytes (window bytes 239 and 255, the output limit), then
# tokens: 1 + byte for a literal, 0 + window position + 4-bit length code.
def lzss(text, copies, limit):
    bits = BitWriter()
    for c in text:
        bits.put(1, 1)
        bits.put(8, c)
    pos = (0xEF + len(text)) % 256
    for back, code in copies:
        bits.put(1, 0)
        bits.put(8, (pos - back) % 256)
        bits.put(4, code)
        pos = (pos + code + 2) % 256
    return bytes((0x41, 0x5A, limit)) + bits.finish()


# Archives: a byte selecting the prefix bytes to skip, then a count, the data
# offset and records of name, kind, offset, stored and decoded size.
def archive(entries, prefix):
    base = 6 + sum(len(name) + 1 + 13 for name, _, _, _ in entries)
    out = bytes(prefix) + struct.pack(">HI", len(entries), base)
    offset = 0
    for name, kind, stored, decoded in entries:
        out += name + b"\0" + bytes((kind,)) + struct.pack(">III", offset, len(stored), decoded)
        offset += len(stored)
    for _, _, stored, _ in entries:
        out += stored
    return bytes((prefix,)) + out


# GSUB tables (big-endian), as fonts hold them: features naming lookups of
# single substitutions, directly or through an extension.
def gsub_coverage_list(glyphs):
    return struct.pack(">HH", 1, len(glyphs)) + b"".join(struct.pack(">H", g) for g in glyphs)


def gsub_coverage_ranges(ranges):
    return struct.pack(">HH", 2, len(ranges)) + b"".join(struct.pack(">HHH", *r) for r in ranges)


def gsub_single_by_delta(coverage, delta):
    return struct.pack(">HHH", 1, 6, delta) + coverage


def gsub_single_by_list(coverage, substitutes):
    head = struct.pack(">HHH", 2, 6 + 2 * len(substitutes), len(substitutes))
    return head + b"".join(struct.pack(">H", g) for g in substitutes) + coverage


def gsub_extension(kind, subtable):
    return struct.pack(">HHI", 1, kind, 8) + subtable


def gsub(features, lookups):
    """features: [(tag, [lookup index])]; lookups: [(type, [subtable bytes])]."""
    records_end = 2 + 6 * len(features)
    feature_list = struct.pack(">H", len(features))
    feature_tables = b""
    for tag, indices in features:
        feature_list += tag + struct.pack(">H", records_end + len(feature_tables))
        feature_tables += struct.pack(">HH", 0, len(indices)) + b"".join(struct.pack(">H", i) for i in indices)
    feature_list += feature_tables
    offsets_end = 2 + 2 * len(lookups)
    lookup_list = struct.pack(">H", len(lookups))
    lookup_tables = b""
    for kind, subtables in lookups:
        lookup_list += struct.pack(">H", offsets_end + len(lookup_tables))
        table = struct.pack(">HHH", kind, 0, len(subtables))
        at = 6 + 2 * len(subtables)
        for sub in subtables:
            table += struct.pack(">H", at)
            at += len(sub)
        lookup_tables += table + b"".join(subtables)
    lookup_list += lookup_tables
    # No script list: it is not read.
    return struct.pack(">HHHHH", 1, 0, 0, 10, 10 + len(feature_list)) + feature_list + lookup_list


def main():
    write("png_decode", "rgb.png", b"\x00" + png(5, 5, 2))
    write("png_decode", "rgba_cells.png", b"\x81" + png(8, 3, 6))
    write("png_decode", "grey.png", b"\x02" + png(3, 2, 0))
    write("png_decode", "grey_alpha.png", b"\x00" + png(2, 2, 4))
    palette = [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)]
    write("png_decode", "palette_2bit.png", b"\x80" + png(5, 3, 3, 2, palette, b"\x00\x80"))

    # The chunk walk before libpng takes the file itself.
    write("png_chunks", "rgb.png", png(5, 5, 2))
    write("png_chunks", "palette_2bit.png", png(5, 3, 3, 2, palette, b"\x00\x80"))

    write("bmp_read", "rgb24.bmp", bmp(5, 3, 24))
    write("bmp_read", "rgb32_top_down.bmp", bmp(3, 2, 32, top_down=True))
    write("bmp_read", "rgb16.bmp", bmp(3, 3, 16))
    write("bmp_read", "palette8.bmp", bmp(4, 2, 8))
    write("bmp_read", "palette4.bmp", bmp(5, 2, 4))
    write("bmp_read", "mono.bmp", bmp(9, 2, 1))

    write("cursor_file", "rgb24.cur", cursor(5, 3, 24, (2, 1)))
    write("cursor_file", "argb32.cur", cursor(4, 4, 32, (0, 3)))
    write("cursor_file", "palette4.cur", cursor(6, 2, 4, (5, 0)))
    write("cursor_file", "mono.cur", cursor(9, 2, 1, (8, 1)))
    write("cursor_file", "png.cur", cursor(3, 3, 32, (1, 1), png(3, 3, 6)))

    write("jpeg_decode", "grey.jpg", jpeg(16, 8, 1))
    write("jpeg_decode", "colour.jpg", jpeg(8, 16, 3))

    write("spb", "flat.spb", spb(4, 3, 0))
    write("spb", "raw.spb", spb(5, 2, 6))
    write("spb", "steps.spb", spb(2, 5, 1))
    write("spb", "one_column.spb", spb(1, 4, 6))

    # The player's seed: the first frames of the demo's ending (RLE8 pictures, PCM sound).
    write("movie_decode", "rle8_pcm.avi", make_demo_movie.build(3))

    write("opentype_vertical", "both_formats.gsub",
          gsub([(b"vert", [0, 1])],
               [(1, [gsub_single_by_delta(gsub_coverage_list([5, 9]), 100)]),
                (1, [gsub_single_by_list(gsub_coverage_ranges([(20, 22, 0)]), [300, 301, 302])])]))
    write("opentype_vertical", "extension.gsub",
          gsub([(b"vert", [0])],
               [(7, [gsub_extension(1, gsub_single_by_list(gsub_coverage_list([3, 4]), [30, 40])),
                     gsub_extension(4, gsub_single_by_list(gsub_coverage_list([6]), [60]))])]))
    write("opentype_vertical", "vrt2_and_other.gsub",
          gsub([(b"liga", [1]), (b"vrt2", [0])],
               [(1, [gsub_single_by_delta(gsub_coverage_ranges([(40, 45, 0)]), 0xFFFE)]),
                (4, [b"\x00\x01"])]))

    # A sound stream's shape as a header claims it (rate, channels, sample
    # format + 1 as in FFmpeg's list, samples), then sample bytes.
    def sound_shape(rate, channels, format_plus_one, samples, data):
        return struct.pack("<IBBH", rate, channels, format_plus_one, samples) + data

    write("movie_stream_checks", "s16_stereo", sound_shape(44100, 2, 2, 64, bytes(range(0, 256, 3))))
    write("movie_stream_checks", "u8_mono", sound_shape(22050, 1, 1, 100, b"\x80\x90\xa0\x70"))
    write("movie_stream_checks", "fltp_six", sound_shape(48000, 6, 9, 32, struct.pack("<4f", 0.5, -0.5, 0.25, 0)))
    write("movie_stream_checks", "absurd_rate", sound_shape(570434048, 2, 2, 16, b"\x00\x10"))

    write("lzss", "literals", lzss(b"mov %0,1\n", [], 255))
    write("lzss", "copies", lzss(b"abcabc", [(3, 4), (1, 2), (200, 15), (0, 15)], 40))
    write("lzss", "cut", lzss(b"0123456789", [(10, 15)], 5))

    hello = b"*define\ngame\n*start\nhello\nend\n"
    packed = lzss(hello, [(6, 3)], 0)[3:]
    write("archive_index", "stored", archive([(b"0.txt", 0, hello, len(hello))], 0))
    write("archive_index", "lzss_prefix1",
          archive([(b"a.txt", 2, packed, len(hello) + 5), (b"b\\c.bmp", 0, b"BM", 2)], 1))
    write("archive_index", "prefix2", archive([(b"x", 0, b"", 0), (b"X", 0, b"1", 1)], 2))

    tags = [b":c;bg.bmp", b":a;sprite.png", b":c/4,<100,200,300,400>,0;x.bmp", b":#75fe1B;k.bmp",
            b":!7;k.bmp", b"<b128>:c;x.bmp", b"< rgb10,20,30 >y.bmp", b":mmask.bmp;pic.bmp", b"*3"]
    for i, tag in enumerate(tags):
        write("image_tag", "tag%d" % i, tag)

    states = [b"C1P2,1", b"M7,100,20 S2,click.wav,C3", b"P10C11C12", b"P1,000000000000000007"]
    for i, state in enumerate(states):
        write("sprite_state_string", "state%d" % i, state)

    scripts = {
        "hello.txt": b"*define\ngame\n*start\nhello\nend\n",
        "numbers.txt": b"*define\nnumalias a,10\ngame\n*start\nmov %a,3\nadd %a,4\nif %a == 7 goto *ok\nend\n"
        b"*ok\nfor %1 = 1 to 3\nmov $1,\"x\"\nadd $1,$1\nnext\nitoa $2,%a\n$2\nend\n",
        "subs.txt": b";mode800\n*define\ndefsub twice\ngame\n*twice\ngetparam %1\nmul %1,2\nreturn\n*start\n"
        b"twice 4\ngosub *sub\nclick\nend\n*sub\nlen %3,\"abc\"\nreturn\n",
        "pictures.txt": b"*define\ngame\n*start\nbg black,1\nlsp 1,\":s/20,20,0;#FFFFFF\x82\xa0\",10,10\n"
        b"print 1\nwait 10\ncsp -1\nend\n",
        "crlf.txt": b"*define\r\ngame\r\n*start\r\n\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd@\r\nend\r\n",
        # Story text with every inline control: colours, waits, speed, ruby,
        # braces, clickstr, textgosub and a page that wraps.
        "text.txt": b"*define\nclickstr \"\x81\x42\",1\nrubyon\ntextgosub *tg\ngame\n*start\n"
        b"setwindow 8,8,6,3,16,16,1,2,5,1,1,#808080,0,0,200,100\n"
        b"\x88\xea#ff0000(\x8a\xbf/\x82\xa9\x82\xf1)\x81\x42\x82\xa0!w5!d5!s0_@{%1,2,$2,\x82\xa0}&3\x88\xea/\n"
        b"\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x81\x75\x88\xea\x81\x42\\\nputtext \"\x88\xea@\"\nend\n"
        b"*tg\nispage %4\ntexec\nreturn\n",
    }
    for name, text in scripts.items():
        write("script", name, text)

    # Persistent files: a name log (names XOR-ed with 0xA7, one holding a
    # two-byte character whose second byte encodes to a quote), "envdata"
    # and a "gloval.sav" beginning.
    def xor(name):
        return bytes(b ^ 0xA7 for b in name)

    names = [b"START", b"BG\\A.BMP", b"\x82\x85"]
    write("persistent_files", "name_log", b"%d\n" % len(names) + b"".join(b'"' + xor(n) + b'"' for n in names))
    env = struct.pack("<4i", 1, 0, 2, 1) + b"\x82\x6c\x82\x72\x00" + struct.pack("<i", 1) + b"\x00"
    env += struct.pack("<5i", 0, 30, 100, 1, 0) + b"save\x00" + struct.pack("<i", 99999)
    write("persistent_files", "envdata", env)
    write("persistent_files", "gloval", struct.pack("<i", 7) + b"abc\x00" + struct.pack("<i", -1) + b"\x00")


if __name__ == "__main__":
    main()
