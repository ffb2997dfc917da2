#!/usr/bin/env bash
# The program's soak under Wine (not part of make test). By default the real
# Kestrova.exe runs on a desktop of its own and takes SWITCHES switches
# (default 10,000) from kvtool send, one kvtool process each, over pictures in
# every format and style; every 500 the skin changes and the manager and the
# options window are opened and closed, and `kvtool send stats` samples the
# program's GDI and USER objects, handles and private memory.
# With --in-process the same run happens inside program_soak, which drives the
# windows' handlers directly (minutes instead of most of an hour).
# The samples go to build/soak/samples.csv and a plot to build/soak/soak.png.
#   scripts/soak-program.sh [--in-process] [SWITCHES]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
mode=exe
if [ "${1:-}" = --in-process ]; then
  mode=in-process
  shift
fi
switches=${1:-10000}
preset=$(scripts/wine-arch.sh)
bin="build/$preset/bin"
mkdir -p build/soak
if [ "$mode" = in-process ]; then
  cmake --build --preset "$preset" -j "$(nproc)" --target program_soak >/dev/null
else
  cmake --build --preset "$preset" -j "$(nproc)" --target Kestrova kvtool kvmsg kv_sample_skins \
    >/dev/null
fi
scripts/wine-session.sh start
trap 'scripts/wine-session.sh stop' EXIT
if [ "$mode" = in-process ]; then
  scripts/wine-run.sh "$bin/program_soak.exe" "$switches" 500 500 | tr -d '\r' \
    | grep -E '^[0-9s]' >build/soak/samples.csv
else
  python3 scripts/soak-kestrova.py "$bin" build/soak/samples.csv --switches "$switches"
fi
python3 scripts/soak-program.py build/soak/samples.csv build/soak/soak.png
echo "build/soak/soak.png"
