#!/usr/bin/env bash
# Times `kvtool thumb` making a 100-pixel-wide thumbnail of a 4000 x 3000
# photo-like JPEG against libvips' vipsthumbnail doing the same (both JPEG
# quality 75, the writers' default), in one hyperfine run. Prints both means and
# their ratio; exits 1 when kvtool takes more than half of vipsthumbnail's time.
#   scripts/bench-thumb.sh            (kvtool from build/native, or $KVTOOL)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kvtool=${KVTOOL:-$top/build/native/bin/kvtool}
dir=$top/build/bench
mkdir -p "$dir"
for tool in hyperfine vipsthumbnail convert python3; do
  command -v "$tool" >/dev/null || { echo "bench-thumb: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$kvtool" ] || { echo "bench-thumb: $kvtool is not built" >&2; exit 1; }

photo=$("$top/scripts/bench-photo.sh")

json=$dir/thumb.json
hyperfine --warmup 3 --runs 30 --export-json "$json" \
  -n kvtool "$kvtool thumb $photo $dir/thumb-kvtool.jpg --width 100" \
  -n vipsthumbnail "vipsthumbnail $photo --size 100x -o $dir/thumb-vips.jpg"

python3 - "$json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
k, v = r["kvtool"]["mean"], r["vipsthumbnail"]["mean"]
ratio = k / v
print(f"kvtool thumb: {k * 1000:.1f} ms   vipsthumbnail: {v * 1000:.1f} ms   ratio {ratio:.3f} (target <= 0.5)")
sys.exit(0 if ratio <= 0.5 else 1)
PY
