#!/usr/bin/env bash
# start: provides an X display (Xvfb when DISPLAY is unset), prepares the Wine
#        prefix once, and keeps one wine server alive until stop.
# stop:  ends the wine server and the Xvfb that start began (only those).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
state="$kv_top/build/wine-session.state"

start() {
  mkdir -p "$kv_top/build"
  : >"$kv_session_file"
  : >"$state"
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    echo "xvfb_pid=$!" >>"$state"
    export DISPLAY=":$n"
    for _ in $(seq 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.05
    done
    echo "export DISPLAY=:$n" >"$kv_session_file"
  fi
  if [ ! -f "$WINEPREFIX/.kv-ready" ]; then
    echo "wine: preparing the test prefix $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || { echo "wine: wineboot failed" >&2; exit 1; }
    wineserver -w
    touch "$WINEPREFIX/.kv-ready"
  fi
  # A persistent server: every Wine start of the run reuses it, and Wine's own
  # services start now, away from any caller's output pipe.
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$state" ]; then
    # shellcheck disable=SC1090
    . "$state"
    if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  fi
  rm -f "$state" "$kv_session_file"
}

case "${1:-}" in
start) start ;;
stop) stop ;;
*)
  echo "usage: $0 start|stop" >&2
  exit 2
  ;;
esac
