#!/usr/bin/env bash
# Makes the WebP, HEIC and AVIF samples of modern_formats_test.cpp in OUTDIR with
# Debian's own encoders (cwebp, img2webp, webpmux, heif-enc, avifenc) and, beside
# each sample <name>.<ext>, <name>.pam: the picture the reference decoder of the
# format (dwebp, heif-convert, avifdec) gives for it, or the source picture
# itself for lossless files. Turned and mirrored samples get the reference of the
# same data stored upright, turned by ImageMagick.
#   tests/codecs/make_modern_samples.sh OUTDIR
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"
tmp=work
mkdir -p "$tmp"

# PAM keeps depth and alpha as they are; the types keep ImageMagick from
# storing a grey-looking picture as grey.
pam() { convert "$1" -type "${3:-TrueColor}" "PAM:$2"; }
pam_alpha() { pam "$1" "$2" TrueColorAlpha; }

# Sources: a textured picture (no two quadrants alike, so a wrong turn shows),
# the same with alpha falling across it, a 16-bit one, an odd-sized one, and a
# second picture for collections and animations.
convert -seed 7 -size 96x64 plasma:red-blue -depth 8 "$tmp/rgb.png"
convert "$tmp/rgb.png" \( -size 64x96 gradient:white-black -rotate 90 \) -alpha off \
  -compose copy_opacity -composite -depth 8 "PNG32:$tmp/rgba.png"
convert -seed 11 -size 96x64 plasma:green-yellow -depth 16 "PNG48:$tmp/rgb16.png"
convert -seed 5 -size 75x49 plasma:orange-navy -depth 8 "$tmp/odd.png"
convert "$tmp/rgb.png" -negate "$tmp/negated.png"
convert "$tmp/negated.png" -resize 128x80! "$tmp/other.png"

# WebP.
cwebp -quiet -lossless "$tmp/rgb.png" -o webp_lossless.webp
pam "$tmp/rgb.png" webp_lossless.pam
cwebp -quiet -lossless -exact "$tmp/rgba.png" -o webp_lossless_alpha.webp
pam_alpha "$tmp/rgba.png" webp_lossless_alpha.pam
cwebp -quiet -q 75 "$tmp/rgb.png" -o webp_lossy.webp
dwebp -quiet webp_lossy.webp -pam -o webp_lossy.pam
cwebp -quiet -q 75 "$tmp/rgba.png" -o webp_lossy_alpha.webp
dwebp -quiet webp_lossy_alpha.webp -pam -o webp_lossy_alpha.pam
cwebp -quiet -q 75 "$tmp/odd.png" -o webp_odd.webp
dwebp -quiet webp_odd.webp -pam -o webp_odd.pam
# An Exif block (bare TIFF, little-endian) whose orientation 6 asks for a
# quarter turn clockwise.
printf 'II*\0\10\0\0\0\1\0\22\1\3\0\1\0\0\0\6\0\0\0\0\0\0\0' >"$tmp/exif6.bin"
webpmux -set exif "$tmp/exif6.bin" webp_lossy.webp -o webp_exif_rotated.webp 2>/dev/null
convert webp_lossy.pam -rotate 90 -type TrueColorAlpha PAM:webp_exif_rotated.pam
# An animation: the first frame (lossless) is what shows.
img2webp -loop 0 -lossless -d 200 "$tmp/rgb.png" -lossy -d 200 "$tmp/negated.png" \
  -o webp_animated.webp 2>/dev/null
pam "$tmp/rgb.png" webp_animated.pam

# HEIC (libde265 decodes, as for the program).
heif_ref() { heif-convert --quiet "$1" "$tmp/$2.png" >/dev/null && pam "$tmp/$2.png" "$2.pam" "${3:-TrueColor}"; }
heif-enc -q 60 "$tmp/rgb.png" -o heic_lossy.heic >/dev/null
heif_ref heic_lossy.heic heic_lossy
heif-enc -q 60 "$tmp/rgba.png" -o heic_alpha.heic >/dev/null
heif_ref heic_alpha.heic heic_alpha TrueColorAlpha
heif-enc -q 60 -b 10 "$tmp/rgb16.png" -o heic_10bit.heic >/dev/null
heif_ref heic_10bit.heic heic_10bit
heif-enc -q 60 "$tmp/odd.png" -o heic_odd.heic >/dev/null
heif_ref heic_odd.heic heic_odd
# A collection of two: the first is the primary picture.
# heif-convert writes every picture, numbered in their order.
heif-enc -q 60 "$tmp/rgb.png" "$tmp/other.png" -o heic_collection.heic >/dev/null
heif-convert --quiet heic_collection.heic "$tmp/collection.png" >/dev/null
pam "$tmp/collection-1.png" heic_collection.pam
cp heic_lossy.heic heif_named.heif
cp heic_lossy.pam heif_named.pam

# AVIF.
avif() { avifenc -j 1 -s 8 "$@" >/dev/null; }
# libheif fills in 4:2:0 chroma by repeating each sample; avifdec does the same
# when asked, so only the colour arithmetic differs.
avif_ref() { avifdec -u nearest "${@:3}" "$1" "$tmp/$2.png" >/dev/null && pam "$tmp/$2.png" "$2.pam" "${TYPE:-TrueColor}"; }
avif --min 20 --max 30 "$tmp/rgb.png" avif_lossy.avif
avif_ref avif_lossy.avif avif_lossy
avif --lossless "$tmp/rgb.png" avif_lossless.avif
pam "$tmp/rgb.png" avif_lossless.pam
avif --min 20 --max 30 "$tmp/rgba.png" avif_alpha.avif
TYPE=TrueColorAlpha avif_ref avif_alpha.avif avif_alpha
avif --min 20 --max 30 -d 10 "$tmp/rgb16.png" avif_10bit.avif
avif_ref avif_10bit.avif avif_10bit -d 16
avif --min 20 --max 30 -d 12 "$tmp/rgb16.png" avif_12bit.avif
avif_ref avif_12bit.avif avif_12bit -d 16
avif --min 20 --max 30 -y 420 "$tmp/odd.png" avif_odd.avif
avif_ref avif_odd.avif avif_odd
# The same data as avif_lossy, stored turned a quarter anticlockwise, and
# mirrored left to right.
avif --min 20 --max 30 --irot 1 "$tmp/rgb.png" avif_rotated.avif
convert avif_lossy.pam -rotate -90 -type TrueColor PAM:avif_rotated.pam
avif --min 20 --max 30 --imir 1 "$tmp/rgb.png" avif_mirrored.avif
convert avif_lossy.pam -flop -type TrueColor PAM:avif_mirrored.pam
cp avif_lossy.avif UPPER_CASE.AVIF
cp avif_lossy.pam UPPER_CASE.pam

rm -rf "$tmp"
touch stamp
