#!/usr/bin/env bash
# Writes the Targa, PCX and Photoshop fixtures of tests/codecs with ImageMagick,
# an independent writer of these formats. Run once by hand; the files are kept in
# the repository and the tests do not need ImageMagick.
#
# Every fixture shows the same 7 × 5 picture (an odd width, so rows need
# padding): pixel (x, y) has red (37x + 11y) mod 256, green (53y + 7x) mod 256,
# blue (200 − 20x − 9y) mod 256 and, where there is alpha, alpha 0, 40, 90,
# 128, 170, 220, 255 in columns 0 to 6.
# The grey and bilevel fixtures show grey 35x + 8y and black where x + y is odd.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

python3 - "$tmp" <<'PY'
import sys
d = sys.argv[1]
w, h = 7, 5
def rgb(x, y):
    return ((37 * x + 11 * y) % 256, (53 * y + 7 * x) % 256, (200 - 20 * x - 9 * y) % 256)
with open(d + '/rgb.ppm', 'wb') as f:
    f.write(b'P6 %d %d 255\n' % (w, h))
    f.write(bytes(c for y in range(h) for x in range(w) for c in rgb(x, y)))
with open(d + '/rgba.pam', 'wb') as f:
    f.write(b'P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n' % (w, h))
    f.write(bytes(c for y in range(h) for x in range(w) for c in rgb(x, y) + ((0, 40, 90, 128, 170, 220, 255)[x],)))
with open(d + '/grey.pgm', 'wb') as f:
    f.write(b'P5 %d %d 255\n' % (w, h))
    f.write(bytes(35 * x + 8 * y for y in range(h) for x in range(w)))
with open(d + '/bilevel.pbm', 'wb') as f:
    f.write(b'P1 %d %d\n' % (w, h))
    f.write(' '.join('1' if (x + y) % 2 else '0' for y in range(h) for x in range(w)).encode())
PY

mkdir -p "$here/tga" "$here/pcx" "$here/psd"
cd "$tmp"
# ImageMagick 6 stores its rows top first whatever origin it writes into the
# header, so the pictures are flipped before being saved with the (default)
# bottom-left origin: these are true bottom-up files.
bottom="-flip -orient BottomLeft"
top="-orient TopLeft"
convert rgb.ppm $bottom "$here/tga/rgb24.tga"
convert rgb.ppm $bottom -compress RLE "$here/tga/rgb24_rle.tga"
convert rgb.ppm $top "$here/tga/rgb24_top.tga"
convert rgb.ppm $top -compress RLE "$here/tga/rgb24_rle_top.tga"
convert rgba.pam $bottom "$here/tga/rgba32.tga"
convert rgba.pam $top -compress RLE "$here/tga/rgba32_rle_top.tga"
convert rgb.ppm $bottom -type Palette "$here/tga/mapped.tga"
convert rgb.ppm $top -type Palette -compress RLE "$here/tga/mapped_rle_top.tga"
convert grey.pgm $bottom "$here/tga/grey.tga"
convert grey.pgm $bottom -compress RLE "$here/tga/grey_rle.tga"

convert rgb.ppm "$here/pcx/rgb24.pcx"
convert rgba.pam "$here/pcx/rgba32.pcx"
convert rgb.ppm -type Palette "$here/pcx/palette8.pcx"

convert rgb.ppm -compress None "$here/psd/rgb8_raw.psd"
convert rgb.ppm -compress RLE "$here/psd/rgb8_rle.psd"
convert rgb.ppm -depth 16 -compress RLE "$here/psd/rgb16_rle.psd"
convert rgb.ppm -colorspace CMYK -compress RLE "$here/psd/cmyk8_rle.psd"
convert rgb.ppm -type Palette -compress RLE "$here/psd/indexed_rle.psd"
convert grey.pgm -compress None "$here/psd/grey8_raw.psd"
convert grey.pgm -depth 16 -compress None "$here/psd/grey16_raw.psd"
convert bilevel.pbm -compress RLE "$here/psd/bitmap_rle.psd"
convert rgba.pam -compress RLE "$here/psd/rgba8_rle.psd"
