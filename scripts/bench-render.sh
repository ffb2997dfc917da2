#!/usr/bin/env bash
# Times the whole wallpaper job on a 4000 x 3000 photo-like JPEG, reduced to a
# 1920 x 1080 screen with Lanczos3, in one hyperfine run:
#   kvtool render (decode, resample, write the 24-bit BMP the applier writes)
#   vips resize to a .v file with the lanczos3 kernel (its default threads)
#   ImageMagick convert -filter Lanczos -resize 1920x1080! to a BMP3 file
# Prints the means and ratios; exits 1 when kvtool takes more than 0.8 times
# the vips time or 0.25 times the ImageMagick time.
#   scripts/bench-render.sh            (kvtool from build/native, or $KVTOOL)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kvtool=${KVTOOL:-$top/build/native/bin/kvtool}
dir=$top/build/bench
mkdir -p "$dir"
for tool in hyperfine vips convert python3; do
  command -v "$tool" >/dev/null || { echo "bench-render: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$kvtool" ] || { echo "bench-render: $kvtool is not built" >&2; exit 1; }

photo=$dir/photo.jpg
if [ ! -f "$photo" ]; then
  # The same picture as scripts/bench-decode.sh: a fractal plasma with a little
  # noise, quality 90, 4:2:0 chroma.
  convert -size 4000x3000 -seed 7 plasma:fractal -attenuate 0.3 +noise Gaussian \
    -sampling-factor 2x2 -quality 90 "$photo"
fi

# vips takes scale factors: 1920 / 4000 across, 1080 / 3000 down.
json=$dir/render.json
hyperfine --warmup 2 --runs 15 --export-json "$json" \
  -n kvtool "$kvtool render $photo $dir/render-kvtool.bmp --style lanczos3 --screen 1920x1080" \
  -n vips "vips resize $photo $dir/render-vips.v 0.48 --vscale 0.36 --kernel lanczos3" \
  -n convert "convert $photo -filter Lanczos -resize 1920x1080! BMP3:$dir/render-convert.bmp"

python3 - "$json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
k, v, c = r["kvtool"]["mean"], r["vips"]["mean"], r["convert"]["mean"]
print(f"kvtool render: {k * 1000:.1f} ms   vips resize: {v * 1000:.1f} ms   convert: {c * 1000:.1f} ms")
print(f"kvtool / vips {k / v:.3f} (target <= 0.8)   kvtool / convert {k / c:.3f} (target <= 0.25)")
sys.exit(0 if k / v <= 0.8 and k / c <= 0.25 else 1)
PY
