#!/usr/bin/env bash
# Times `kvtool decode` of a 4000 x 3000 (12-megapixel) WebP, HEIC and AVIF
# picture against `vips copy` of the same file (libvips decodes them with the
# same libraries), one hyperfine run per format. The pictures are made once
# from the shared benchmark photo by Debian's encoders. Prints the means and
# their ratio per format; exits 1 when kvtool takes more than 1.1 times vips's
# time for any of them.
#   scripts/bench-decode-modern.sh            (kvtool from build/native, or $KVTOOL)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kvtool=${KVTOOL:-$top/build/native/bin/kvtool}
dir=$top/build/bench
mkdir -p "$dir"
for tool in hyperfine vips convert cwebp heif-enc avifenc python3; do
  command -v "$tool" >/dev/null || { echo "bench-decode-modern: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$kvtool" ] || { echo "bench-decode-modern: $kvtool is not built" >&2; exit 1; }

photo=$("$top/scripts/bench-photo.sh")
png=$dir/photo.png
[ -f "$png" ] || { convert "$photo" "$png.$$.png" && mv -f "$png.$$.png" "$png"; }
# Made beside and renamed, as for the photo (heif-enc writes HEIC unless told
# otherwise, whatever the name).
encode() {
  local out=$1
  shift
  [ -f "$out" ] && return 0
  "$@" "$out.$$" >/dev/null 2>&1 || { echo "bench-decode-modern: encoding $out failed" >&2; exit 1; }
  mv -f "$out.$$" "$out"
}
encode "$dir/photo.webp" cwebp -quiet -q 90 "$png" -o
encode "$dir/photo.heic" heif-enc -q 80 "$png" -o
encode "$dir/photo.avif" avifenc -s 8 --min 10 --max 30 "$png"

status=0
results=()
for ext in webp heic avif; do
  json=$dir/decode-$ext.json
  in=$dir/photo.$ext
  hyperfine --warmup 2 --runs 10 --export-json "$json" \
    -n kvtool "$kvtool decode $in $dir/out-kvtool-$ext.bmp" \
    -n vips "vips copy $in $dir/out-vips-$ext.v" >/dev/null
  line=$(python3 - "$json" "$ext" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
k, v = r["kvtool"]["mean"], r["vips"]["mean"]
ratio = k / v
# Processor time as well: on a loaded machine it varies less than the wall time.
cpu = lambda x: x["user"] + x["system"]
cpu_ratio = cpu(r["kvtool"]) / cpu(r["vips"])
print(f"{sys.argv[2]:5} kvtool decode: {k * 1000:7.1f} ms   vips copy: {v * 1000:7.1f} ms   "
      f"ratio {ratio:.3f} (target <= 1.1; processor time ratio {cpu_ratio:.3f})")
sys.exit(0 if ratio <= 1.1 else 1)
PY
) || status=1
  results+=("$line")
done
printf '%s\n' "${results[@]}"
rm -f "$dir"/out-kvtool-*.bmp "$dir"/out-vips-*.v
exit $status
