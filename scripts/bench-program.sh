#!/usr/bin/env bash
# Measures the program under Wine: one switch and its parts against `kvtool
# render`, start-up with a 10,000-entry list against a bare Wine process start
# (kvuninst.exe) and against a program that only shows a plain window
# (bare_window.exe), private memory after start-up (scripts/bench-program.py
# says what and how). Builds what it needs first; --bin DIR measures the programs
# of another build instead; --compare DIR also starts that build's Kestrova.exe,
# in turns with the measured one.
#   scripts/bench-program.sh [--rounds N] [--startup-only] [--bin DIR] [--compare DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
preset=$(scripts/wine-arch.sh)
bin="build/$preset/bin"
args=()
while [ $# -gt 0 ]; do
  if [ "$1" = --bin ]; then bin=$2; shift 2; else args+=("$1"); shift; fi
done
# The measuring tools (kvmsg.exe, bare_window.exe) always come from this build.
targets=(kvmsg bare_window)
if [ "$bin" = "build/$preset/bin" ]; then targets+=(Kestrova kvtool kvuninst switch_timing); fi
cmake --build --preset "$preset" -j "$(nproc)" --target "${targets[@]}" >/dev/null
scripts/wine-session.sh start
trap 'scripts/wine-session.sh stop' EXIT
python3 scripts/bench-program.py --bin "$bin" --tools "build/$preset/bin" "${args[@]}"
