#!/usr/bin/env bash
# Measures the program under Wine: one switch and its parts against `kvtool
# render`, start-up with a 10,000-entry list, private memory after start-up
# (scripts/bench-program.py says what and how). Builds what it needs first.
#   scripts/bench-program.sh [--rounds N]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
preset=$(scripts/wine-arch.sh)
cmake --build --preset "$preset" -j "$(nproc)" --target Kestrova kvmsg kvtool switch_timing >/dev/null
scripts/wine-session.sh start
trap 'scripts/wine-session.sh stop' EXIT
python3 scripts/bench-program.py --bin "build/$preset/bin" "$@"
