#!/usr/bin/env bash
# Times the whole wallpaper job on a 4000 x 3000 photo-like JPEG, reduced to a
# 1920 x 1080 screen with Lanczos3, in one hyperfine run:
#   kvtool render (decode, resample, write the 24-bit BMP the applier writes)
#   vips resize to a .v file with the lanczos3 kernel (its default threads)
#   ImageMagick convert -filter Lanczos -resize 1920x1080! to a BMP3 file
# and measures each one's peak resident memory with /usr/bin/time -v (the
# largest of three runs). Prints the medians, their ratios and the peaks; exits
# 1 when kvtool takes more than 0.55 times the vips time or 0.18 times the
# ImageMagick time, or more than 16 MB of memory.
#   scripts/bench-render.sh [--wine] [--runs N]
# kvtool is build/native/bin/kvtool, or $KVTOOL. $KVTOOL_BEFORE, when set, is
# another kvtool (an earlier build) timed and measured in the same run.
# --wine also times the 32-bit build/win32/bin/kvtool.exe under Wine, on one
# thread and on two (--threads 1 and 2), and $KVTOOL_EXE_BEFORE, when set, an
# earlier kvtool.exe, without a --threads option; those times are reported only.
# It uses the running Wine session of this tree (scripts/wine-session.sh), or
# starts one for the run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kvtool=${KVTOOL:-$top/build/native/bin/kvtool}
dir=$top/build/bench
mkdir -p "$dir"
wine=0
runs=15
while [ $# -gt 0 ]; do
  case $1 in
  --wine) wine=1 ;;
  --runs) runs=$2; shift ;;
  *) echo "usage: scripts/bench-render.sh [--wine] [--runs N]" >&2; exit 2 ;;
  esac
  shift
done
for tool in hyperfine vips convert python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "bench-render: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$kvtool" ] || { echo "bench-render: $kvtool is not built" >&2; exit 1; }
photo=$("$top/scripts/bench-photo.sh")

# name, then the command; vips takes scale factors: 1920 / 4000 across, 1080 / 3000 down.
job="--style lanczos3 --screen 1920x1080"
commands=(
  kvtool "$kvtool render $photo $dir/render-kvtool.bmp $job"
  vips "vips resize $photo $dir/render-vips.v 0.48 --vscale 0.36 --kernel lanczos3"
  convert "convert $photo -filter Lanczos -resize 1920x1080! BMP3:$dir/render-convert.bmp"
)
if [ -n "${KVTOOL_BEFORE:-}" ]; then
  commands+=(kvtool-before "$KVTOOL_BEFORE render $photo $dir/render-before.bmp $job")
fi

named=()
for ((i = 0; i < ${#commands[@]}; i += 2)); do named+=(-n "${commands[i]}" "${commands[i + 1]}"); done
json=$dir/render.json
hyperfine -N --warmup 2 --runs "$runs" --export-json "$json" "${named[@]}"

peaks=$dir/render-peaks.txt
: >"$peaks"
for ((i = 0; i < ${#commands[@]}; i += 2)); do
  peak=0
  for _ in 1 2 3; do
    # shellcheck disable=SC2086
    kb=$(/usr/bin/time -v ${commands[i + 1]} 2>&1 >/dev/null | awk '/Maximum resident set size/ {print $NF}')
    [ "$kb" -gt "$peak" ] && peak=$kb
  done
  echo "${commands[i]} $peak" >>"$peaks"
done

wine_json=
if [ "$wine" = 1 ]; then
  exe=$top/build/win32/bin/kvtool.exe
  [ -f "$exe" ] || { echo "bench-render: $exe is not built" >&2; exit 1; }
  . "$top/scripts/wine-env.sh"
  if [ ! -f "$WINEPREFIX.session.state" ]; then
    "$top/scripts/wine-session.sh" start
    trap '"$top/scripts/wine-session.sh" stop' EXIT
  fi
  # shellcheck disable=SC1090
  [ -z "${DISPLAY:-}" ] && . "$kv_session_file"
  wine_named=(
    -n "kvtool.exe --threads 1" "wine $exe render $photo $dir/render-wine1.bmp $job --threads 1"
    -n "kvtool.exe --threads 2" "wine $exe render $photo $dir/render-wine2.bmp $job --threads 2"
  )
  if [ -n "${KVTOOL_EXE_BEFORE:-}" ]; then
    wine_named+=(-n "kvtool.exe before" "wine $KVTOOL_EXE_BEFORE render $photo $dir/render-wine0.bmp $job")
  fi
  wine_json=$dir/render-wine.json
  hyperfine -N --warmup 2 --runs "$runs" --export-json "$wine_json" "${wine_named[@]}"
fi

python3 - "$json" "$peaks" "$wine_json" <<'PY'
import json, sys
r = {x["command"]: x["median"] for x in json.load(open(sys.argv[1]))["results"]}
peak = dict(line.split() for line in open(sys.argv[2]))
print("median times and peak memory:")
for name, t in r.items():
    print(f"  {name:14} {t * 1000:7.1f} ms  {int(peak[name]) / 1024:6.1f} MB")
k, v, c, m = r["kvtool"], r["vips"], r["convert"], int(peak["kvtool"]) / 1024
print(f"kvtool / vips {k / v:.3f} (target <= 0.55)   kvtool / convert {k / c:.3f} (target <= 0.18)"
      f"   kvtool peak {m:.1f} MB (target <= 16)")
if "kvtool-before" in r:
    b = r["kvtool-before"]
    print(f"before: kvtool / vips {b / v:.3f}   kvtool / convert {b / c:.3f}"
          f"   peak {int(peak['kvtool-before']) / 1024:.1f} MB")
if sys.argv[3]:
    print("under Wine (medians, Wine's start included):")
    for x in json.load(open(sys.argv[3]))["results"]:
        print(f"  {x['command']:24} {x['median'] * 1000:7.1f} ms")
sys.exit(0 if k / v <= 0.55 and k / c <= 0.18 and m <= 16 else 1)
PY
