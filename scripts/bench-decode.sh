#!/usr/bin/env bash
# Times `kvtool decode` of a 4000 x 3000 photo-like JPEG against libjpeg-turbo's
# own djpeg writing the same BMP, in one hyperfine run. Prints both means and
# their ratio; exits 1 when kvtool takes more than 1.15 times djpeg's time.
#   scripts/bench-decode.sh            (kvtool from build/native, or $KVTOOL)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kvtool=${KVTOOL:-$top/build/native/bin/kvtool}
dir=$top/build/bench
mkdir -p "$dir"
for tool in hyperfine djpeg convert python3; do
  command -v "$tool" >/dev/null || { echo "bench-decode: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$kvtool" ] || { echo "bench-decode: $kvtool is not built" >&2; exit 1; }

photo=$("$top/scripts/bench-photo.sh")

json=$dir/decode.json
hyperfine --warmup 2 --runs 15 --export-json "$json" \
  -n kvtool "$kvtool decode $photo $dir/out-kvtool.bmp" \
  -n djpeg "djpeg -bmp -outfile $dir/out-djpeg.bmp $photo"

python3 - "$json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
k, d = r["kvtool"]["mean"], r["djpeg"]["mean"]
ratio = k / d
print(f"kvtool decode: {k * 1000:.1f} ms   djpeg -bmp: {d * 1000:.1f} ms   ratio {ratio:.3f} (target <= 1.15)")
sys.exit(0 if ratio <= 1.15 else 1)
PY
