#!/usr/bin/env bash
# Makes the photograph the benchmark scripts share, unless it is there, and
# prints its path: 4000 x 3000, a fractal plasma with a little noise, JPEG
# quality 90 with 4:2:0 chroma. Made beside and renamed, as another script may
# be making it too.
#   photo=$(scripts/bench-photo.sh)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=$top/build/bench
mkdir -p "$dir"
photo=$dir/photo.jpg
if [ ! -f "$photo" ]; then
  command -v convert >/dev/null || { echo "bench-photo: convert is missing (scripts/setup.sh installs it)" >&2; exit 1; }
  convert -size 4000x3000 -seed 7 plasma:fractal -attenuate 0.3 +noise Gaussian \
    -sampling-factor 2x2 -quality 90 "$photo.$$.jpg"
  mv -f "$photo.$$.jpg" "$photo"
fi
echo "$photo"
