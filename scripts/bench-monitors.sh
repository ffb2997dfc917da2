#!/usr/bin/env bash
# Two 3840 x 2160 monitors side by side, each given its own 24-megapixel JPEG
# (6000 x 4000 and 4000 x 6000) in Lanczos3: compares the composed wallpaper
#   kvtool render A.jpg B.jpg OUT.bmp --monitors 3840x2160+0+0,3840x2160+3840+0
# with the two single renders run one after the other, by processor time
# (user + system, the median of N runs on one thread, which a loaded machine
# disturbs less than wall time) and by peak resident memory. Exits 1 when the
# composition takes more than 1.2 times the two renders or more than the
# composed bitmap (7680 x 2160 x 3 bytes) plus 40 MB.
#   scripts/bench-monitors.sh [--runs N]
# kvtool is build/native/bin/kvtool, or $KVTOOL.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kvtool=${KVTOOL:-$top/build/native/bin/kvtool}
dir=$top/build/bench/monitors
runs=5
if [ "${1:-}" = --runs ]; then runs=$2; fi
for tool in convert /usr/bin/time python3; do
  command -v "$tool" >/dev/null || { echo "bench-monitors: $tool is missing" >&2; exit 1; }
done
[ -x "$kvtool" ] || { echo "bench-monitors: $kvtool is not built" >&2; exit 1; }
mkdir -p "$dir"
[ -f "$dir/a.jpg" ] || convert -size 6000x4000 gradient:navy-orange -attenuate 0.3 +noise Gaussian \
  -quality 90 "$dir/a.jpg"
[ -f "$dir/b.jpg" ] || convert -size 4000x6000 gradient:green-purple -swirl 90 -quality 90 "$dir/b.jpg"

# Prints "cpu-seconds peak-kb" of one command.
measure() { /usr/bin/time -f "%U %S %M" "$@" 2>&1 >/dev/null | tail -1 | awk '{print $1 + $2, $3}'; }
singles=() composed=() peak=0
for _ in $(seq "$runs"); do
  a=$(measure "$kvtool" render "$dir/a.jpg" "$dir/a.bmp" --style lanczos3 --screen 3840x2160 --threads 1)
  b=$(measure "$kvtool" render "$dir/b.jpg" "$dir/b.bmp" --style lanczos3 --screen 3840x2160 --threads 1)
  c=$(measure "$kvtool" render "$dir/a.jpg" "$dir/b.jpg" "$dir/c.bmp" --style lanczos3 \
    --monitors 3840x2160+0+0,3840x2160+3840+0 --threads 1)
  singles+=("$(echo "${a% *} ${b% *}" | awk '{print $1 + $2}')")
  composed+=("${c% *}")
  [ "${c#* }" -gt "$peak" ] && peak=${c#* }
done
python3 - "$peak" "${singles[*]}" "${composed[*]}" <<'PY'
import statistics, sys
peak = int(sys.argv[1]) * 1024
singles = statistics.median(map(float, sys.argv[2].split()))
composed = statistics.median(map(float, sys.argv[3].split()))
limit = 7680 * 2160 * 3 + 40 * 1024 * 1024
print(f"two single renders {singles:.3f} s, composed {composed:.3f} s: {composed / singles:.2f}x (limit 1.2x)")
print(f"peak memory {peak / 1048576:.1f} MB (limit {limit / 1048576:.1f} MB)")
sys.exit(0 if composed <= 1.2 * singles and peak <= limit else 1)
PY
