#!/usr/bin/env python3
"""Writes the BMP, JPEG, PNG, GIF and TIFF fixtures of tests/codecs.

Run once by hand; the files are kept in the repository and the tests need
neither this script nor ImageMagick. BMP, PNG and GIF files are written here
byte by byte (every header variant and bit depth under control); JPEG comes
from cjpeg and ImageMagick, TIFF from ImageMagick.

Most fixtures show the 7 x 5 picture of make_tga_pcx_psd.sh: pixel (x, y) has
red (37x + 11y) mod 256, green (53y + 7x) mod 256, blue (200 - 20x - 9y) mod 256,
alpha 0, 40, 90, 128, 170, 220, 255 in columns 0 to 6 where there is alpha; grey
35x + 8y; bilevel black where x + y is odd. Where a decoded picture differs from
that (palettes, quantised bit fields, alpha laid on white, skipped RLE pixels),
the expected picture is written beside the fixture as a binary PPM.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 7, 5
ALPHA = (0, 40, 90, 128, 170, 220, 255)


def rgb(x, y):
    return ((37 * x + 11 * y) % 256, (53 * y + 7 * x) % 256, (200 - 20 * x - 9 * y) % 256)


def grey(x, y):
    return (35 * x + 8 * y) % 256


def over_white(c, a):
    return tuple((v * a + 255 * (255 - a) + 127) // 255 for v in c)


def write(path, data):
    full = os.path.join(HERE, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, 'wb') as f:
        f.write(data)


def ppm(pixels, w, h):
    """pixels: function (x, y) -> (r, g, b)."""
    return b'P6 %d %d 255\n' % (w, h) + bytes(c for y in range(h) for x in range(w) for c in pixels(x, y))


# 16 palette colours, distinct, taken from the picture's formula.
PAL16 = [rgb(i % 7, i // 7) for i in range(16)]


def idx16(x, y):
    return (x + 2 * y) % 16


# ---------------------------------------------------------------- BMP

def bmp_file(info, palette=b'', pixels=b'', extra=b'', off=None):
    head = 14
    off = head + len(info) + len(extra) + len(palette) if off is None else off
    size = off + len(pixels)
    return b'BM' + struct.pack('<IHHI', size, 0, 0, off) + info + extra + palette + pixels


def info40(w, h, bpp, comp=0, colours=0, image_size=0):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, comp, image_size, 2835, 2835, colours, 0)


def info_v(size, w, h, bpp, comp, masks):
    base = struct.pack('<IiiHHIIiiII', size, w, h, 1, bpp, comp, 0, 2835, 2835, 0, 0)
    base += struct.pack('<IIII', *masks)
    return base + b'\0' * (size - len(base))


def rows(w, h, bpp, sample, top_down=False):
    """Packs rows of samples (ints of bpp bits) to DWORD-aligned rows, bottom-up."""
    stride = (w * bpp + 31) // 32 * 4
    out = b''
    order = range(h) if top_down else range(h - 1, -1, -1)
    for y in order:
        if bpp >= 8:
            row = b''.join(sample(x, y).to_bytes(bpp // 8, 'little') for x in range(w))
        else:
            bits = 0
            n = 0
            row = b''
            for x in range(w):
                bits = (bits << bpp) | sample(x, y)
                n += bpp
                if n == 8:
                    row += bytes([bits])
                    bits = n = 0
            if n:
                row += bytes([bits << (8 - n)])
        out += row + b'\0' * (stride - len(row))
    return out


def bgr0(c):
    return bytes([c[2], c[1], c[0], 0])


def q(v, bits):
    """A channel of `bits` bits widened to 8 with rounding, as the decoder does."""
    m = (1 << bits) - 1
    return ((v >> (8 - bits)) * 255 + m // 2) // m


def make_bmp():
    d = 'bmp/'
    write(d + 'picture.ppm', ppm(rgb, W, H))
    px24 = lambda x, y: rgb(x, y)[2] | rgb(x, y)[1] << 8 | rgb(x, y)[0] << 16
    write(d + 'rgb24.bmp', bmp_file(info40(W, H, 24), pixels=rows(W, H, 24, px24)))
    write(d + 'rgb24_topdown.bmp', bmp_file(info40(W, -H, 24), pixels=rows(W, H, 24, px24, True)))
    write(d + 'rgb32.bmp', bmp_file(info40(W, H, 32), pixels=rows(W, H, 32, px24)))
    # Bit fields in an unusual order: red in the low byte.
    px_rgbx = lambda x, y: rgb(x, y)[0] | rgb(x, y)[1] << 8 | rgb(x, y)[2] << 16
    write(d + 'rgb32_fields.bmp', bmp_file(info40(W, H, 32, 3), extra=struct.pack('<III', 0xFF, 0xFF00, 0xFF0000),
                                           pixels=rows(W, H, 32, px_rgbx)))
    # Version 5 header with alpha in the top byte.
    pxa = lambda x, y: px24(x, y) | ALPHA[x] << 24
    write(d + 'rgba32_v5.bmp', bmp_file(info_v(124, W, H, 32, 3, (0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
                                        pixels=rows(W, H, 32, pxa)))
    write(d + 'rgba32_v5.ppm', ppm(lambda x, y: over_white(rgb(x, y), ALPHA[x]), W, H))
    # Version 4 header naming an alpha mask whose bits are all zero: opaque.
    write(d + 'rgb32_v4_zero_alpha.bmp', bmp_file(info_v(108, W, H, 32, 3, (0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
                                                  pixels=rows(W, H, 32, px24)))
    # 16 bits: 5-5-5 (no compression) and 5-6-5 (bit fields after a 40-byte header).
    p555 = lambda x, y: (rgb(x, y)[0] >> 3) << 10 | (rgb(x, y)[1] >> 3) << 5 | rgb(x, y)[2] >> 3
    write(d + 'rgb16_555.bmp', bmp_file(info40(W, H, 16), pixels=rows(W, H, 16, p555)))
    write(d + 'rgb16_555.ppm', ppm(lambda x, y: tuple(q(v, 5) for v in rgb(x, y)), W, H))
    p565 = lambda x, y: (rgb(x, y)[0] >> 3) << 11 | (rgb(x, y)[1] >> 2) << 5 | rgb(x, y)[2] >> 3
    write(d + 'rgb16_565.bmp', bmp_file(info40(W, H, 16, 3), extra=struct.pack('<III', 0xF800, 0x07E0, 0x001F),
                                        pixels=rows(W, H, 16, p565)))
    write(d + 'rgb16_565.ppm', ppm(lambda x, y: (q(rgb(x, y)[0], 5), q(rgb(x, y)[1], 6), q(rgb(x, y)[2], 5)), W, H))
    # 4-4-4-4 with alpha, four masks after a 40-byte header (alpha bit fields).
    p4444 = lambda x, y: (ALPHA[x] >> 4) << 12 | (rgb(x, y)[0] >> 4) << 8 | (rgb(x, y)[1] >> 4) << 4 | rgb(x, y)[2] >> 4
    write(d + 'argb16_4444.bmp', bmp_file(info40(W, H, 16, 6), extra=struct.pack('<IIII', 0x0F00, 0x00F0, 0x000F, 0xF000),
                                          pixels=rows(W, H, 16, p4444)))
    write(d + 'argb16_4444.ppm', ppm(lambda x, y: over_white(tuple(q(v, 4) for v in rgb(x, y)), q(ALPHA[x], 4)), W, H))

    # Palettes. 1 bit: white, black; 2 bits: four colours; 4 bits: sixteen.
    bw = [(255, 255, 255), (0, 0, 0)]
    write(d + 'pal1.bmp', bmp_file(info40(W, H, 1), b''.join(bgr0(c) for c in bw),
                                   rows(W, H, 1, lambda x, y: (x + y) % 2)))
    write(d + 'pal1.ppm', ppm(lambda x, y: bw[(x + y) % 2], W, H))
    write(d + 'pal2.bmp', bmp_file(info40(W, H, 2), b''.join(bgr0(c) for c in PAL16[:4]),
                                   rows(W, H, 2, lambda x, y: (x + y) % 4)))
    write(d + 'pal2.ppm', ppm(lambda x, y: PAL16[(x + y) % 4], W, H))
    write(d + 'pal4.bmp', bmp_file(info40(W, H, 4), b''.join(bgr0(c) for c in PAL16), rows(W, H, 4, idx16)))
    write(d + 'pal16.ppm', ppm(lambda x, y: PAL16[idx16(x, y)], W, H))
    # 8 bits with a palette of exactly the picture's 35 colours (colours used: 35).
    pal35 = [rgb(x, y) for y in range(H) for x in range(W)]
    write(d + 'pal8.bmp', bmp_file(info40(W, H, 8, colours=35), b''.join(bgr0(c) for c in pal35),
                                   rows(W, H, 8, lambda x, y: y * W + x)))
    # OS/2 1.x: 12-byte header, 3-byte palette entries.
    core = lambda bpp: struct.pack('<IHHHH', 12, W, H, 1, bpp)
    write(d + 'os2_pal8.bmp', bmp_file(core(8), b''.join(bytes([c[2], c[1], c[0]]) for c in pal35)
                                       + b'\0' * 3 * (256 - 35), rows(W, H, 8, lambda x, y: y * W + x)))
    write(d + 'os2_rgb24.bmp', bmp_file(core(24), pixels=rows(W, H, 24, px24)))
    # A packed DIB: no file header, pixels right after the palette.
    write(d + 'packed_pal4.dib', info40(W, H, 4, colours=16) + b''.join(bgr0(c) for c in PAL16)
          + rows(W, H, 4, idx16))

    # RLE8 and RLE4. Row 1 skips x = 2..4 with a delta; row 2 ends early (x = 5, 6
    # skipped); row 3 jumps from x = 3 to x = 5 of row 4 (row 3's x = 3..6 and
    # row 4's x = 0..4 skipped); then the end of the picture. Skipped pixels are
    # transparent. Rows go bottom-up: file row r is picture row 4 - r.
    skipped = {(2, 3), (3, 3), (4, 3), (5, 2), (6, 2), (3, 1), (4, 1), (5, 1), (6, 1),
               (0, 0), (1, 0), (2, 0), (3, 0), (4, 0)}
    expect = lambda x, y: (255, 255, 255) if (x, y) in skipped else PAL16[idx16(x, y)]
    write(d + 'rle.ppm', ppm(expect, W, H))
    row = lambda y: [idx16(x, y) for x in range(W)]

    def rle8():
        out = b''
        r0 = row(4)  # file row 0 = picture row 4: a run and literals
        out += bytes([0, 7]) + bytes(r0) + b'\0'  # literal group of 7, padded
        out += b'\0\0'
        r1 = row(3)
        out += bytes([2, r1[0]]) if r1[0] == r1[1] else bytes([1, r1[0], 1, r1[1]])
        out += bytes([0, 2, 3, 0])  # delta: x + 3
        out += bytes([2, r1[5]]) if r1[5] == r1[6] else bytes([1, r1[5], 1, r1[6]])
        out += b'\0\0'
        r2 = row(2)
        out += bytes([0, 5]) + bytes(r2[:5]) + b'\0'
        out += b'\0\0'  # end of line: x = 5, 6 skipped
        r3 = row(1)
        out += bytes([0, 3]) + bytes(r3[:3]) + b'\0'
        out += bytes([0, 2, 2, 1])  # delta: x 3 -> 5, next row
        r4 = row(0)
        out += bytes([1, r4[5], 1, r4[6]])
        out += b'\0\1'
        return out

    def rle4():
        def lit(vals):
            b = bytes((vals[i] << 4) | (vals[i + 1] if i + 1 < len(vals) else 0) for i in range(0, len(vals), 2))
            return bytes([0, len(vals)]) + b + (b'\0' if len(b) % 2 else b'')

        def run(a, b_, n):  # n pixels alternating a, b_
            return bytes([n, (a << 4) | b_])
        out = b''
        out += lit(row(4)) + b'\0\0'
        r1 = row(3)
        out += run(r1[0], r1[1], 2) + bytes([0, 2, 3, 0]) + run(r1[5], r1[6], 2) + b'\0\0'
        out += lit(row(2)[:5]) + b'\0\0'
        out += lit(row(1)[:3]) + bytes([0, 2, 2, 1])
        r4 = row(0)
        out += run(r4[5], r4[6], 2) + b'\0\1'
        return out

    for name, bpp, comp, data in (('rle8', 8, 1, rle8()), ('rle4', 4, 2, rle4())):
        n = 1 << bpp
        pal = b''.join(bgr0(PAL16[i % 16]) for i in range(16))
        write(d + name + '.bmp', bmp_file(info40(W, H, bpp, comp, colours=16, image_size=len(data)), pal, data))
        if name == 'rle8':
            write(d + 'broken/rle8_cut.bmp', bmp_file(info40(W, H, bpp, comp, colours=16), pal, data[:20]))

    # Broken files.
    good = bmp_file(info40(W, H, 24), pixels=rows(W, H, 24, px24))
    write(d + 'broken/truncated.bmp', good[:len(good) - 30])
    write(d + 'broken/header_size.bmp', good[:14] + struct.pack('<I', 7) + good[18:])
    write(d + 'broken/huge.bmp', bmp_file(info40(100000, 100000, 24), pixels=b'\0' * 64))
    write(d + 'broken/zero_width.bmp', bmp_file(info40(0, H, 24), pixels=b'\0' * 64))
    write(d + 'broken/min_height.bmp', bmp_file(info40(W, -2**31, 24), pixels=b'\0' * 64))
    write(d + 'broken/bit_count.bmp', bmp_file(info40(W, H, 7), pixels=b'\0' * 200))
    write(d + 'broken/palette_cut.bmp', b'BM' + struct.pack('<IHHI', 0, 0, 0, 0) + info40(W, H, 8)[:40] + b'\0' * 10)
    write(d + 'broken/empty_masks.bmp', bmp_file(info40(W, H, 32, 3), extra=b'\0' * 12, pixels=rows(W, H, 32, px24)))


# ---------------------------------------------------------------- PNG

def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)


ADAM7 = ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2))


def png_file(w, h, depth, ctype, samples, plte=None, trns=None, interlace=False):
    """samples(x, y) -> tuple of channel values at `depth` bits."""
    def pack_row(xs, y):
        vals = [v for x in xs for v in samples(x, y)]
        if depth == 16:
            return b''.join(struct.pack('>H', v) for v in vals)
        if depth == 8:
            return bytes(vals)
        out, bits, n = b'', 0, 0
        for v in vals:
            bits, n = (bits << depth) | v, n + depth
            if n == 8:
                out, bits, n = out + bytes([bits]), 0, 0
        return out + (bytes([bits << (8 - n)]) if n else b'')
    raw = b''
    if interlace:
        for x0, y0, dx, dy in ADAM7:
            xs = list(range(x0, w, dx))
            if not xs:
                continue
            for y in range(y0, h, dy):
                raw += b'\0' + pack_row(xs, y)
    else:
        for y in range(h):
            raw += b'\0' + pack_row(range(w), y)
    out = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, depth, ctype, 0, 0, 1 if interlace else 0))
    if plte:
        out += chunk(b'PLTE', b''.join(bytes(c) for c in plte))
    if trns is not None:
        out += chunk(b'tRNS', trns)
    return out + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


def scale16(v):
    return (v * 255 + 32895) >> 16


def make_png():
    d = 'png/'
    pic = ppm(rgb, W, H)
    write(d + 'picture.ppm', pic)
    write(d + 'rgb8.png', png_file(W, H, 8, 2, rgb))
    write(d + 'rgb8_adam7.png', png_file(W, H, 8, 2, rgb, interlace=True))
    # 16 bits: the low byte varies too, so scaling (not just taking the high byte) shows.
    s16 = lambda x, y: tuple(v * 257 + (x * 40 + y * 13) % 256 - 128 if v else 0 for v in rgb(x, y))
    s16c = lambda x, y: tuple(max(0, min(65535, v)) for v in s16(x, y))
    write(d + 'rgb16.png', png_file(W, H, 16, 2, s16c))
    write(d + 'rgb16_adam7.png', png_file(W, H, 16, 2, s16c, interlace=True))
    write(d + 'rgb16.ppm', ppm(lambda x, y: tuple(scale16(v) for v in s16c(x, y)), W, H))
    rgba = lambda x, y: rgb(x, y) + (ALPHA[x],)
    write(d + 'rgba8.png', png_file(W, H, 8, 6, rgba))
    write(d + 'rgba8_adam7.png', png_file(W, H, 8, 6, rgba, interlace=True))
    write(d + 'rgba16.png', png_file(W, H, 16, 6, lambda x, y: tuple(v * 257 for v in rgba(x, y))))
    write(d + 'alpha.ppm', ppm(lambda x, y: over_white(rgb(x, y), ALPHA[x]), W, H))
    # tRNS on RGB: the colour of pixel (1, 1) is transparent.
    t = rgb(1, 1)
    write(d + 'rgb8_trns.png', png_file(W, H, 8, 2, rgb, trns=struct.pack('>HHH', *t)))
    write(d + 'rgb8_trns.ppm', ppm(lambda x, y: (255, 255, 255) if rgb(x, y) == t else rgb(x, y), W, H))
    # Greys of every depth (values widened by bit replication) and grey with alpha.
    for depth in (1, 2, 4, 8, 16):
        if depth == 16:
            sample = lambda x, y: (grey(x, y) * 257,)
            expect = grey
        else:
            sample = lambda x, y, dd=depth: (grey(x, y) >> (8 - dd),)
            expect = lambda x, y, dd=depth: (grey(x, y) >> (8 - dd)) * 255 // ((1 << dd) - 1)
        write(d + 'grey%d.png' % depth, png_file(W, H, depth, 0, sample))
        write(d + 'grey%d.ppm' % depth, ppm(lambda x, y, e=expect: (e(x, y),) * 3, W, H))
    write(d + 'grey1_adam7.png', png_file(W, H, 1, 0, lambda x, y: (grey(x, y) >> 7,), interlace=True))
    write(d + 'grey8_trns.png', png_file(W, H, 8, 0, lambda x, y: (grey(x, y),), trns=struct.pack('>H', grey(3, 2))))
    write(d + 'grey8_trns.ppm', ppm(lambda x, y: (255,) * 3 if (x, y) == (3, 2) else (grey(x, y),) * 3, W, H))
    write(d + 'grey_alpha8.png', png_file(W, H, 8, 4, lambda x, y: (grey(x, y), ALPHA[x])))
    write(d + 'grey_alpha16.png', png_file(W, H, 16, 4, lambda x, y: (grey(x, y) * 257, ALPHA[x] * 257)))
    write(d + 'grey_alpha.ppm', ppm(lambda x, y: over_white((grey(x, y),) * 3, ALPHA[x]), W, H))
    # Palettes of 1, 2, 4 and 8 bits, and one with partial alpha in tRNS.
    for depth in (1, 2, 4, 8):
        n = min(1 << depth, 16)
        write(d + 'pal%d.png' % depth, png_file(W, H, depth, 3, lambda x, y, n=n: (idx16(x, y) % n,), plte=PAL16[:n]))
        write(d + 'pal%d.ppm' % depth, ppm(lambda x, y, n=n: PAL16[idx16(x, y) % n], W, H))
    write(d + 'pal4_adam7.png', png_file(W, H, 4, 3, lambda x, y: (idx16(x, y),), plte=PAL16, interlace=True))
    alphas = bytes([0, 128, 200])  # entries 0..2; the rest opaque
    write(d + 'pal8_trns.png', png_file(W, H, 8, 3, lambda x, y: (idx16(x, y),), plte=PAL16, trns=alphas))
    write(d + 'pal8_trns.ppm', ppm(lambda x, y: over_white(PAL16[idx16(x, y)], alphas[idx16(x, y)]
                                                            if idx16(x, y) < 3 else 255), W, H))
    good = png_file(W, H, 8, 2, rgb)
    write(d + 'broken/truncated.png', good[:len(good) - 20])
    bad = bytearray(good)
    bad[-13] ^= 0xFF  # a byte of IDAT's checksum
    write(d + 'broken/bad_crc.png', bytes(bad))
    write(d + 'broken/huge.png', b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 40000, 40000, 8, 2, 0, 0, 0)))
    write(d + 'broken/not_png.png', b'GIF89a not a PNG at all')


# ---------------------------------------------------------------- GIF

def lzw_uncompressed(indices, min_size):
    """Valid LZW data using literal codes only, with a clear code often enough
    that the code width never grows."""
    clear, end = 1 << min_size, (1 << min_size) + 1
    width = min_size + 1
    limit = (1 << width) - (1 << min_size) - 3
    codes = [clear]
    n = 0
    for i in indices:
        if n == limit:
            codes.append(clear)
            n = 0
        codes.append(i)
        n += 1
    codes.append(end)
    bits, nbits, out = 0, 0, bytearray()
    for c in codes:
        bits |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 255)
            bits >>= 8
            nbits -= 8
    if nbits:
        out.append(bits & 255)
    data = bytes([min_size])
    for i in range(0, len(out), 255):
        block = out[i:i + 255]
        data += bytes([len(block)]) + bytes(block)
    return data + b'\0'


def colour_table(colours):
    size = 2
    while size < len(colours):
        size *= 2
    bits = size.bit_length() - 2  # 2^(bits+1) entries
    return bits, b''.join(bytes(c) for c in colours) + b'\0\0\0' * (size - len(colours))


def gif_file(sw, sh, frames, global_pal=None, bg=0):
    """frames: list of (left, top, w, h, index(x, y), local_pal, transparent, interlace)."""
    out = b'GIF89a' + struct.pack('<HH', sw, sh)
    if global_pal:
        bits, table = colour_table(global_pal)
        out += bytes([0x80 | 0x70 | bits, bg, 0]) + table
    else:
        out += bytes([0x70, bg, 0])
    for left, top, w, h, index, local, transparent, interlace in frames:
        if transparent is not None:
            out += b'\x21\xF9\x04' + bytes([1]) + b'\0\0' + bytes([transparent]) + b'\0'
        flags = 0x40 if interlace else 0
        table = b''
        if local:
            bits, table = colour_table(local)
            flags |= 0x80 | bits
        out += b',' + struct.pack('<HHHH', left, top, w, h) + bytes([flags]) + table
        order = list(range(h))
        if interlace:
            order = [y for s, st in ((0, 8), (4, 8), (2, 4), (1, 2)) for y in range(s, h, st)]
        out += lzw_uncompressed([index(x, y) for y in order for x in range(w)], 8)
    return out + b';'


def make_gif():
    d = 'gif/'
    pal35 = [rgb(x, y) for y in range(H) for x in range(W)]
    pic_index = lambda x, y: y * W + x
    write(d + 'picture.ppm', ppm(rgb, W, H))
    write(d + 'basic.gif', gif_file(W, H, [(0, 0, W, H, pic_index, None, None, False)], pal35))
    write(d + 'local_palette.gif', gif_file(W, H, [(0, 0, W, H, pic_index, pal35, None, False)], None))
    # Interlaced, 7 x 13, so every pass has rows.
    tall = lambda x, y: rgb(x, y)
    tall_pal = [tall(x, y) for y in range(13) for x in range(W)]
    write(d + 'interlaced.gif', gif_file(W, 13, [(0, 0, W, 13, lambda x, y: y * W + x, None, None, True)], tall_pal))
    write(d + 'interlaced.ppm', ppm(tall, W, 13))
    # A 12 x 9 screen, the frame at (3, 2), background index 40 (a colour of its
    # own); pixel (2, 1) of the frame is transparent.
    pal = pal35 + [(10, 20, 30)] * 5 + [(1, 2, 3)]
    trans = pic_index(2, 1)
    write(d + 'offset.gif', gif_file(12, 9, [(3, 2, W, H, pic_index, None, trans, False)], pal, bg=40))
    write(d + 'offset.ppm', ppm(lambda x, y: (255, 255, 255) if (x - 3, y - 2) == (2, 1) else
                                 rgb(x - 3, y - 2) if 3 <= x < 10 and 2 <= y < 7 else (1, 2, 3), 12, 9))
    # Background index beyond the table (64 entries): the screen shows white.
    write(d + 'bg_out_of_table.gif', gif_file(9, 6, [(1, 1, W, H, pic_index, None, None, False)], pal35, bg=200))
    write(d + 'bg_out_of_table.ppm', ppm(lambda x, y: rgb(x - 1, y - 1) if 1 <= x < 8 and 1 <= y < 6
                                         else (255, 255, 255), 9, 6))
    # A frame larger than the screen widens the picture.
    write(d + 'frame_past_screen.gif', gif_file(4, 4, [(0, 0, W, H, pic_index, None, None, False)], pal35))
    # Two frames: only the first is shown.
    write(d + 'animated.gif', gif_file(W, H, [(0, 0, W, H, pic_index, None, None, False),
                                              (0, 0, W, H, lambda x, y: 0, None, None, False)], pal35))
    good = gif_file(W, H, [(0, 0, W, H, pic_index, None, None, False)], pal35)
    write(d + 'broken/truncated.gif', good[:len(good) - 30])
    write(d + 'broken/no_picture.gif', b'GIF89a' + struct.pack('<HH', W, H) + bytes([0, 0, 0]) + b';')
    write(d + 'broken/no_palette.gif', gif_file(W, H, [(0, 0, W, H, pic_index, None, None, False)], None))
    write(d + 'broken/not_gif.gif', b'\x89PNG\r\n\x1a\n not a gif')


# ---------------------------------------------------------------- JPEG, TIFF

def run(*args):
    subprocess.run(args, check=True)


def make_jpeg(tmp):
    d = os.path.join(HERE, 'jpeg')
    os.makedirs(os.path.join(d, 'broken'), exist_ok=True)
    # A smooth 48 x 32 picture, which JPEG keeps close.
    jw, jh = 48, 32
    smooth = lambda x, y: (4 * x + 20, 6 * y + 30, 200 - 2 * x - 3 * y)
    src = os.path.join(tmp, 'smooth.ppm')
    with open(src, 'wb') as f:
        f.write(ppm(smooth, jw, jh))
    write('jpeg/smooth.ppm', ppm(smooth, jw, jh))
    for name, opts in (('baseline_444', ['-sample', '1x1']), ('baseline_422', ['-sample', '2x1']),
                       ('baseline_420', ['-sample', '2x2']), ('progressive', ['-progressive']),
                       ('restart', ['-restart', '1B']), ('grey', ['-grayscale'])):
        run('cjpeg', '-quality', '95', *opts, '-outfile', os.path.join(d, name + '.jpg'), src)
    run('convert', src, '-colorspace', 'CMYK', '-quality', '95', os.path.join(d, 'cmyk.jpg'))
    # Exif orientation: a 32 x 16 picture of four quadrants (red, green / blue,
    # white) stored turned so that each orientation tag shows it upright.
    quad = lambda x, y: ((255, 0, 0) if x < 16 else (0, 255, 0)) if y < 8 else ((0, 0, 255) if x < 16 else (255, 255, 255))
    qsrc = os.path.join(tmp, 'quad.ppm')
    with open(qsrc, 'wb') as f:
        f.write(ppm(quad, 32, 16))
    stored = {1: [], 2: ['-flop'], 3: ['-rotate', '180'], 4: ['-flip'], 5: ['-transpose'],
              6: ['-rotate', '-90'], 7: ['-transverse'], 8: ['-rotate', '90']}
    for o, ops in stored.items():
        plain = os.path.join(tmp, 'o%d.jpg' % o)
        run('convert', qsrc, *ops, '-strip', '-quality', '95', plain)
        with open(plain, 'rb') as f:
            data = f.read()
        # APP1 Exif, big-endian TIFF header, IFD0 with one entry: orientation.
        tiff = b'MM\0*' + struct.pack('>I', 8) + struct.pack('>H', 1) + struct.pack('>HHIHH', 0x112, 3, 1, o, 0) + b'\0\0\0\0'
        app1 = b'Exif\0\0' + tiff
        write('jpeg/orientation%d.jpg' % o, data[:2] + b'\xFF\xE1' + struct.pack('>H', len(app1) + 2) + app1 + data[2:])
    with open(os.path.join(d, 'baseline_420.jpg'), 'rb') as f:
        good = f.read()
    write('jpeg/broken/truncated.jpg', good[:len(good) - 60])  # inside the scan
    write('jpeg/no_end_marker.jpg', good[:-2])
    write('jpeg/broken/not_jpeg.jpg', b'BM not a JPEG')
    write('jpeg/broken/huge.jpg', good[:2] + b'\xFF\xC0\x00\x11\x08\x9C\x40\x9C\x40\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01' + b'\xFF\xD9')


def make_tiff(tmp):
    d = os.path.join(HERE, 'tiff')
    os.makedirs(os.path.join(d, 'broken'), exist_ok=True)
    src = os.path.join(tmp, 'rgb.ppm')
    with open(src, 'wb') as f:
        f.write(ppm(rgb, W, H))
    rgba = os.path.join(tmp, 'rgba.pam')
    with open(rgba, 'wb') as f:
        f.write(b'P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n' % (W, H))
        f.write(bytes(c for y in range(H) for x in range(W) for c in rgb(x, y) + (ALPHA[x],)))
    gsrc = os.path.join(tmp, 'grey.pgm')
    with open(gsrc, 'wb') as f:
        f.write(b'P5 %d %d 255\n' % (W, H) + bytes(grey(x, y) for y in range(H) for x in range(W)))
    bsrc = os.path.join(tmp, 'bilevel.pbm')
    with open(bsrc, 'wb') as f:
        f.write(b'P1 %d %d\n' % (W, H) + ' '.join('1' if (x + y) % 2 else '0' for y in range(H) for x in range(W)).encode())
    t = lambda name: os.path.join(d, name)
    write('tiff/picture.ppm', ppm(rgb, W, H))
    for name, comp in (('rgb_none', 'None'), ('rgb_lzw', 'LZW'), ('rgb_deflate', 'Zip'), ('rgb_packbits', 'RLE')):
        run('convert', src, '-compress', comp, t(name + '.tif'))
    run('convert', src, '-compress', 'JPEG', '-quality', '98', t('rgb_jpeg.tif'))
    run('convert', src, '-compress', 'LZW', '-define', 'tiff:rows-per-strip=2', t('rgb_strips.tif'))
    run('convert', src, '-depth', '16', '-compress', 'Zip', t('rgb16.tif'))
    run('convert', rgba, '-compress', 'LZW', t('rgba.tif'))
    write('tiff/alpha.ppm', ppm(lambda x, y: over_white(rgb(x, y), ALPHA[x]), W, H))
    run('convert', gsrc, '-compress', 'LZW', t('grey.tif'))
    write('tiff/grey.ppm', ppm(lambda x, y: (grey(x, y),) * 3, W, H))
    run('convert', bsrc, '-compress', 'Group4', t('bilevel_g4.tif'))
    run('convert', bsrc, '-compress', 'None', t('bilevel.tif'))
    write('tiff/bilevel.ppm', ppm(lambda x, y: (0, 0, 0) if (x + y) % 2 else (255, 255, 255), W, H))
    run('convert', src, '-type', 'Palette', '-compress', 'LZW', t('palette.tif'))
    run('convert', src, '-colorspace', 'CMYK', '-compress', 'LZW', t('cmyk.tif'))
    # Tiles of 16 x 16 over a 40 x 36 picture (partial tiles at the right and bottom).
    big = os.path.join(tmp, 'big.ppm')
    with open(big, 'wb') as f:
        f.write(ppm(rgb, 40, 36))
    run('convert', big, '-compress', 'Zip', '-define', 'tiff:tile-geometry=16x16', t('tiled.tif'))
    write('tiff/big.ppm', ppm(rgb, 40, 36))
    # Stored bottom row first, with the orientation saying so.
    run('convert', src, '-flip', '-orient', 'BottomLeft', '-compress', 'None', t('bottom_left.tif'))
    # Stored transposed or turned, with the orientation (5 to 8) that shows them upright.
    for o, name, turn in ((5, 'LeftTop', ['-transpose']), (6, 'RightTop', ['-rotate', '-90']),
                          (7, 'RightBottom', ['-transverse']), (8, 'LeftBottom', ['-rotate', '90'])):
        run('convert', src, *turn, '-orient', name, '-compress', 'None', t('orient%d.tif' % o))
    with open(t('rgb_lzw.tif'), 'rb') as f:
        good = f.read()
    write('tiff/broken/truncated.tif', good[:len(good) // 2])
    write('tiff/broken/not_tiff.tif', b'II*\0\xff\xff\xff\x7f')


def main():
    make_bmp()
    make_png()
    make_gif()
    with tempfile.TemporaryDirectory() as tmp:
        make_jpeg(tmp)
        make_tiff(tmp)


if __name__ == '__main__':
    sys.exit(main())
