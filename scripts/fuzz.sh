#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`: clang, ASan + UBSan), or only the
# TARGETs named, and runs each for SECONDS (default 60) on a copy of its seed
# corpus. Exits non-zero, naming the target and the saved input, when any target
# finds a crash, a leak, a hang or undefined behaviour.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     e.g. scripts/fuzz.sh 300 fuzz_bmp
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-60}
[ $# -gt 0 ] && shift
case $seconds in '' | *[!0-9]*)
  echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]" >&2
  exit 2
  ;;
esac
build=${KV_FUZZ_BUILD:-build/fuzz}
jobs=${KV_FUZZ_JOBS:-$(nproc)}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset fuzz -B "$build" >"$build.configure.log" 2>&1 || {
    cat "$build.configure.log"
    echo "fuzz: configuring the fuzz build failed" >&2
    exit 1
  }
fi
if [ $# -gt 0 ]; then
  targets=("$@")
  # Only the targets named are built: the instrumented libraries take long.
  build_targets=("$@")
else
  targets=()
  for f in fuzz/fuzz_*.cpp; do
    [ -e "$f" ] || continue
    targets+=("$(basename "$f" .cpp)")
  done
  build_targets=(fuzz_all)
fi
[ ${#targets[@]} -gt 0 ] || {
  echo "fuzz: no fuzz targets" >&2
  exit 1
}
cmake --build "$build" --target "${build_targets[@]}" -j "$jobs" || {
  echo "fuzz: building the fuzz targets failed" >&2
  exit 1
}

out="$build/runs"
mkdir -p "$out"
failed=()
for t in "${targets[@]}"; do
  name=${t#fuzz_}
  exe="$build/bin/$t"
  [ -x "$exe" ] || {
    echo "fuzz: $exe was not built" >&2
    failed+=("$t")
    continue
  }
  # New inputs go to a scratch corpus, so the committed seeds stay small.
  work="$out/$name/corpus"
  artifacts="$out/$name/artifacts"
  mkdir -p "$work" "$artifacts"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  log="$out/$name/log.txt"
  # A leak inside a library we build on but do not own is named in
  # fuzz/<name>.lsan.supp; our own code's leaks still stop the run.
  supp=()
  [ -f "fuzz/$name.lsan.supp" ] && supp=(env "LSAN_OPTIONS=suppressions=$top/fuzz/$name.lsan.supp")
  echo "fuzz: $t for ${seconds}s (log $log)"
  "${supp[@]}" "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=25 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" "${seeds[@]}" >"$log" 2>&1
  rc=$?
  stats=$(grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$log" | tail -n 2 | tr '\n' ' ')
  if [ $rc -ne 0 ]; then
    echo "fuzz: $t FAILED (exit $rc)" >&2
    grep -E 'ERROR: |SUMMARY: |runtime error: |Test unit written to' "$log" | head -n 8 >&2
    failed+=("$t")
  else
    echo "fuzz: $t clean: $stats"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in: ${failed[*]} (inputs under $out/<name>/artifacts)" >&2
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets clean"
