#!/usr/bin/env bash
# Builds both configurations and runs both test suites. Win32 tests run under Wine
# with one wine server kept alive for the whole run. Exits non-zero when a build
# or a test fails; the output ends with ctest's summary.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)

build() {
  local preset=$1
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || {
      cat "build/configure-$preset.log"
      echo "test: configuring the $preset build failed" >&2
      return 1
    }
  fi
  cmake --build --preset "$preset" -j "$jobs" || {
    echo "test: building the $preset build failed" >&2
    return 1
  }
}

build native || exit 1
build win32 || exit 1

scripts/wine-session.sh start || exit 1
trap 'scripts/wine-session.sh stop' EXIT

status=0
ctest --preset native -j "$jobs" "$@" || status=1
# Under Wine a desktop test can lose a race with the window system on a loaded
# machine; a test that fails is run once more, and only a second failure counts.
ctest --preset win32 -j "$jobs" --repeat until-pass:2 "$@" || status=1
exit $status
