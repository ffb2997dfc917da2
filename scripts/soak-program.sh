#!/usr/bin/env bash
# The program's soak under Wine (not part of make test): program_soak runs
# SWITCHES switches (default 10,000) over pictures in several formats and
# styles, changes the skin and shows and hides the manager every 500, and
# samples GDI and USER objects, handles and private memory every 500; the
# samples go to build/soak/samples.csv and a plot to build/soak/soak.png.
#   scripts/soak-program.sh [SWITCHES]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
preset=$(scripts/wine-arch.sh)
cmake --build --preset "$preset" -j "$(nproc)" --target program_soak >/dev/null
scripts/wine-session.sh start
trap 'scripts/wine-session.sh stop' EXIT
mkdir -p build/soak
scripts/wine-run.sh "build/$preset/bin/program_soak.exe" "${1:-10000}" 500 500 | tr -d '\r' \
  | grep -E '^[0-9s]' >build/soak/samples.csv
python3 scripts/soak-program.py build/soak/samples.csv build/soak/soak.png
echo "build/soak/soak.png"
