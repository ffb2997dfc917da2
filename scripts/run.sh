#!/usr/bin/env bash
# `make run`: builds Kestrova.exe, prepares the demo program folder build/run/
# (the program, the sample skins, sample wallpapers and a demo list, made once
# and then kept with the user's settings), and starts Kestrova under Wine on a
# 1024x768 virtual desktop in a Wine prefix of its own (build/run-prefix).
# With a display the user sees and uses it until they exit it from the tray
# menu; without one it runs on Xvfb, switches the wallpaper once, saves a
# screenshot, prints its path and stops what it started.
#
# Where the kernel runs no 32-bit programs (scripts/wine-arch.sh), the 64-bit
# build is the one that runs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
export KV_WINEPREFIX="$top/build/run-prefix"
preset=$(scripts/wine-arch.sh)

if [ ! -f "build/$preset/CMakeCache.txt" ]; then
  cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || {
    cat "build/configure-$preset.log"
    exit 1
  }
fi
cmake --build --preset "$preset" -j "$(nproc)" --target Kestrova kvmsg >build/run-build.log 2>&1 || {
  tail -30 build/run-build.log
  echo "run: building Kestrova.exe failed; see build/run-build.log" >&2
  exit 1
}

run="$top/build/run"
mkdir -p "$run"
cp "build/$preset/bin/Kestrova.exe" "build/$preset/bin/kvmsg.exe" "$run/"
mkdir -p "$run/Skins"
cp -r src/resources/skins/. "$run/Skins/"
python3 scripts/make-demo.py "$run"

scripts/wine-session.sh start
trap 'scripts/wine-session.sh stop' EXIT
python3 scripts/run-demo.py --folder "$run" --bin "build/$preset/bin"
