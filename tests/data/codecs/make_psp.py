#!/usr/bin/env python3
"""Writes the Paint Shop Pro fixtures of tests/codecs, which no tool here can save.

Each psp/<name>.psp is built from the documented block structure: the 32-byte
signature, major and minor version, then blocks ("~BK\\0", block id, in format 3
the information chunk's length, the block's length). Beside it psp/<name>.ppm
holds the picture a reader must show: the composite image when the file has one,
else the bottom raster layer placed on a white canvas of the image size, its
transparency mask and opacity laid on white.

Run once by hand; the files are kept in the repository.
"""
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'psp')
SIGNATURE = b'Paint Shop Pro Image File\n\x1a'.ljust(32, b'\0')
W, H = 7, 5
NONE, RLE, LZ77, JPEG = 0, 1, 2, 3


def rgb(x, y):
    return ((37 * x + 11 * y) % 256, (53 * y + 7 * x) % 256, (200 - 20 * x - 9 * y) % 256)


def other_rgb(x, y):
    """What layers above the bottom one, or layers under a composite, show."""
    return (255 - 30 * x % 256, 20 * y, 90)


def palette_colour(i):
    return ((i * 7 + 5) % 256, (255 - i * 3) % 256, (i * 13) % 256)


def rle(data):
    """Runs of up to 127 equal bytes (count 128 + n), literals of up to 128 bytes."""
    out = bytearray()
    i = 0
    literal = bytearray()

    def flush():
        if literal:
            out.append(len(literal))
            out.extend(literal)
            literal.clear()

    while i < len(data):
        j = i
        while j < len(data) and j - i < 127 and data[j] == data[i]:
            j += 1
        if j - i >= 3:
            flush()
            out += bytes([128 + j - i, data[i]])
            i = j
        else:
            literal.append(data[i])
            i += 1
            if len(literal) == 128:
                flush()
    flush()
    return bytes(out)


def compress(data, method):
    return {NONE: data, RLE: rle(data), LZ77: zlib.compress(data)}[method]


class Writer:
    def __init__(self, major):
        self.major = major

    def chunk(self, payload):
        """An information chunk: with its own length from format 4 on."""
        return payload if self.major < 4 else struct.pack('<I', 4 + len(payload)) + payload

    def block(self, block_id, chunk=b'', subblocks=b''):
        body = chunk + subblocks
        if self.major < 4:
            return b'~BK\0' + struct.pack('<HII', block_id, len(chunk), len(body)) + body
        return b'~BK\0' + struct.pack('<HI', block_id, len(body)) + body

    def header(self):
        return SIGNATURE + struct.pack('<HH', self.major, 0)

    def image_attributes(self, depth, compression, grey=False, layers=1):
        payload = struct.pack('<iidBHHHIBIiH', W, H, 72.0, 1, compression, depth, 1,
                              1 << min(depth, 24), int(grey), 0, 0, layers)
        if self.major >= 4:
            payload += struct.pack('<I', 0)
        return self.block(0, self.chunk(payload))

    def palette(self, count):
        entries = b''.join(bytes((b, g, r, 0)) for r, g, b in map(palette_colour, range(count)))
        return self.block(2, self.chunk(struct.pack('<I', count)) + entries)

    def channel(self, rows, compression, bitmap_type, channel_type):
        raw = b''.join(rows)
        data = compress(raw, compression)
        info = self.chunk(struct.pack('<IIHH', len(data), len(raw), bitmap_type, channel_type))
        return self.block(5, info, data)

    def layer(self, layer_type, rect, saved, channels, opacity=255, extension=None):
        rects = struct.pack('<4i4i', *rect, *saved)
        common = rects + bytes((opacity, 0, 1, 0, 0)) + bytes(32) + bytes(2)
        tail = bytes(1) + struct.pack('<H', 5) + bytes(40)  # invert flag, blend ranges
        counts = struct.pack('<HH', 1 + (len(channels) in (2, 4)), len(channels))
        if self.major < 4:
            name = b'Layer'.ljust(256, b'\0')
            info = name + bytes((layer_type,)) + common + tail + counts
            return self.block(4, info, b''.join(channels))
        info = self.chunk(struct.pack('<H', 5) + b'Layer' + bytes((layer_type,)) + common + tail)
        ext = self.block(extension, self.chunk(b'\0' * 8)) if extension is not None else b''
        return self.block(4, b'', info + ext + self.chunk(counts) + b''.join(channels))


def planes(pixels, width, height, depth):
    """Channel rows (red, green, blue, or the one index/grey channel) of a picture."""
    if depth in (24, 48):
        size = depth // 24
        return [[b''.join(pixels[y][x][c].to_bytes(size, 'little') if size == 1 else
                          (pixels[y][x][c] * 257).to_bytes(2, 'little') for x in range(width))
                 for y in range(height)] for c in range(3)]
    if depth < 8:
        stride = ((width * depth + 7) // 8 + 3) // 4 * 4
        rows = []
        for y in range(height):
            row = bytearray(stride)
            for x in range(width):
                bit = x * depth
                row[bit // 8] |= pixels[y][x] << (8 - depth - bit % 8)
            rows.append(bytes(row))
        return [rows]
    return [[bytes(pixels[y]) for y in range(height)]]


def over_white(v, a):
    return (v * a + 255 * (255 - a) + 127) // 255


def mul255(a, b):
    t = a * b + 128
    return (t + (t >> 8)) >> 8


def write(name, data, expected):
    with open(os.path.join(HERE, name + '.psp'), 'wb') as f:
        f.write(data)
    with open(os.path.join(HERE, name + '.ppm'), 'wb') as f:
        f.write(b'P6 %d %d 255\n' % (W, H))
        f.write(bytes(c for row in expected for px in row for c in px))


def rgb_channels(w, pixels, depth, compression, bitmap_type=0):
    return [w.channel(rows, compression, bitmap_type, c + 1)
            for c, rows in enumerate(planes(pixels, len(pixels[0]), len(pixels), depth))]


def full_rgb(f):
    return [[f(x, y) for x in range(W)] for y in range(H)]


def layered_rgb(major, compression, name, extension=None, vector_first=False):
    """A 24-bit picture in layers only: the bottom raster layer shows rgb()."""
    w = Writer(major)
    raster = 0 if major < 4 else 1
    layers = b''
    if vector_first:
        layers += w.layer(3, (0, 0, W, H), (0, 0, W, H), [])
    layers += w.layer(raster, (0, 0, W, H), (0, 0, W, H),
                      rgb_channels(w, full_rgb(rgb), 24, compression), extension=extension)
    layers += w.layer(raster, (0, 0, W, H), (0, 0, W, H),
                      rgb_channels(w, full_rgb(other_rgb), 24, compression), extension=extension)
    data = (w.header() + w.image_attributes(24, compression, layers=2) +
            w.block(1, w.chunk(b'\0' * 6)) + w.block(3, b'', layers))
    write(name, data, full_rgb(rgb))


def placed_layer_with_mask(major, compression, name):
    """A 4 × 3 layer at (2, 1) with a transparency mask and opacity 200."""
    w = Writer(major)
    lw, lh, left, top, opacity = 4, 3, 2, 1, 200
    pixels = [[rgb(x, y) for x in range(lw)] for y in range(lh)]
    mask = [[(0, 60, 180, 255)[x] for x in range(lw)] for y in range(lh)]
    channels = rgb_channels(w, pixels, 24, compression)
    channels.append(w.channel(planes(mask, lw, lh, 8)[0], compression, 1, 0))
    # The layer rectangle is at (1, 0); the stored (saved) part starts one pixel
    # further right and down within it.
    layer = w.layer(0 if major < 4 else 1, (left - 1, top - 1, left + lw, top + lh),
                    (1, 1, lw + 1, lh + 1), channels, opacity=opacity)
    data = w.header() + w.image_attributes(24, compression) + w.block(3, b'', layer)
    expected = [[(255, 255, 255)] * W for _ in range(H)]
    for y in range(lh):
        for x in range(lw):
            a = mul255(mask[y][x], opacity)
            expected[top + y][left + x] = tuple(over_white(v, a) for v in pixels[y][x])
    write(name, data, expected)


def with_composite(major, compression, name, depth=24):
    """A composite image (after a JPEG thumbnail) over layers that show something else."""
    w = Writer(major)
    if depth == 24:
        pixels, expected = full_rgb(rgb), full_rgb(rgb)
        comp_channels = rgb_channels(w, pixels, 24, compression, bitmap_type=8)
        comp_palette = b''
    else:
        count = 1 << depth
        pixels = [[(x + 3 * y) % count for x in range(W)] for y in range(H)]
        expected = [[palette_colour(i) for i in row] for row in pixels]
        comp_channels = [w.channel(planes(pixels, W, H, depth)[0], compression, 8, 0)]
        comp_palette = w.palette(count)
    attributes = [(80, 60, 24, JPEG, 1), (W, H, depth, compression, 0)]
    bank = b''.join(w.block(17, w.chunk(struct.pack('<iiHHHIH', aw, ah, ad, ac, 1, 0, at)))
                    for aw, ah, ad, ac, at in attributes)
    bank += w.block(18, w.chunk(struct.pack('<IIH', 4, 4, 0)), b'\xff\xd8\xff\xd9')
    bank += w.block(9, w.chunk(struct.pack('<HH', 1, len(comp_channels))),
                    comp_palette + b''.join(comp_channels))
    layer_pixels = full_rgb(other_rgb)
    if depth == 24:
        layer_channels = rgb_channels(w, layer_pixels, 24, compression)
    else:
        layer_channels = [w.channel(planes([[0] * W] * H, W, H, depth)[0], compression, 0, 0)]
    layers = w.layer(1, (0, 0, W, H), (0, 0, W, H), layer_channels)
    data = (w.header() + w.image_attributes(depth, compression) +
            w.block(16, w.chunk(struct.pack('<I', 2)), bank) +
            (w.palette(1 << depth) if depth < 24 else b'') + w.block(3, b'', layers))
    write(name, data, expected)


def paletted_layer(major, compression, depth, name, grey=False):
    w = Writer(major)
    count = 1 << depth
    pixels = [[(x * 5 + y * 3) % count for x in range(W)] for y in range(H)]
    colour = (lambda i: (i, i, i)) if grey else palette_colour
    channel = w.channel(planes(pixels, W, H, depth)[0], compression, 0, 0)
    layer = w.layer(0 if major < 4 else 1, (0, 0, W, H), (0, 0, W, H), [channel])
    data = (w.header() + w.image_attributes(depth, compression, grey=grey) +
            (b'' if grey else w.palette(count)) + w.block(3, b'', layer))
    write(name, data, [[colour(i) for i in row] for row in pixels])


def deep_rgb(major, compression, name):
    """48-bit: 16-bit samples, little-endian."""
    w = Writer(major)
    layer = w.layer(1, (0, 0, W, H), (0, 0, W, H),
                    rgb_channels(w, full_rgb(rgb), 48, compression))
    data = w.header() + w.image_attributes(48, compression) + w.block(3, b'', layer)
    write(name, data, full_rgb(rgb))


def main():
    os.makedirs(HERE, exist_ok=True)
    layered_rgb(3, NONE, 'v3_rgb_stored')
    layered_rgb(3, RLE, 'v3_rgb_rle')
    layered_rgb(6, LZ77, 'v6_rgb_lz77_vector_first', vector_first=True)
    layered_rgb(10, RLE, 'v10_rgb_rle_raster_extension', extension=0x21)
    placed_layer_with_mask(3, LZ77, 'v3_placed_mask_lz77')
    placed_layer_with_mask(5, RLE, 'v5_placed_mask_rle')
    with_composite(4, RLE, 'v4_composite_rle')
    with_composite(5, LZ77, 'v5_composite_lz77')
    with_composite(6, NONE, 'v6_composite_stored')
    with_composite(5, LZ77, 'v5_composite_palette4', depth=4)
    paletted_layer(3, RLE, 1, 'v3_palette1_rle')
    paletted_layer(4, LZ77, 4, 'v4_palette4_lz77')
    paletted_layer(5, NONE, 8, 'v5_palette8_stored')
    paletted_layer(6, RLE, 8, 'v6_grey8_rle', grey=True)
    deep_rgb(8, LZ77, 'v8_rgb48_lz77')


if __name__ == '__main__':
    main()
