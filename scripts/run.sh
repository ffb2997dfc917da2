#!/usr/bin/env bash
# `make run`: builds Kestrova.exe, prepares the demo program folder build/run/
# (the program, the sample skins, sample wallpapers and a demo list, made once
# and then kept with the user's settings), and starts Kestrova under Wine on a
# 1024x768 virtual desktop in a Wine prefix of its own (build/run-prefix).
# With a display the user sees and uses it until they exit it from the tray
# menu; without one it runs on Xvfb, switches the wallpaper once, saves a
# screenshot, prints its path and stops what it started.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
export KV_WINEPREFIX="$top/build/run-prefix"

if [ ! -f build/win32/CMakeCache.txt ]; then
  cmake --preset win32 >build/configure-win32.log 2>&1 || {
    cat build/configure-win32.log
    exit 1
  }
fi
cmake --build --preset win32 -j "$(nproc)" --target Kestrova kvmsg >build/run-build.log 2>&1 || {
  tail -30 build/run-build.log
  echo "run: building Kestrova.exe failed; see build/run-build.log" >&2
  exit 1
}

run="$top/build/run"
mkdir -p "$run"
cp build/win32/bin/Kestrova.exe build/win32/bin/kvmsg.exe "$run/"
mkdir -p "$run/Skins"
cp -r src/resources/skins/. "$run/Skins/" 2>/dev/null || true
python3 scripts/make-demo.py "$run"

scripts/wine-session.sh start
trap 'scripts/wine-session.sh stop' EXIT
exec python3 scripts/run-demo.py --folder "$run" --bin build/win32/bin
