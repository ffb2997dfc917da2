#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix; the exit code is the
# program's. ctest uses this as the emulator of the win32 build.
#
# The program's output goes through a file: Wine's own processes (the desktop,
# services) that the program happens to start inherit its output handles, and
# would otherwise hold the caller's pipe open long after the program ended.
. "$(dirname "$0")/wine-env.sh"
out=$(mktemp "${TMPDIR:-/tmp}/kv-wine.XXXXXX")
trap 'rm -f "$out"' EXIT
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a wine "$@" >"$out" 2>&1
else
  wine "$@" >"$out" 2>&1
fi
rc=$?
cat "$out"
exit $rc
