#!/usr/bin/env bash
# start: provides an X display (Xvfb when DISPLAY is unset), prepares the Wine
#        prefix once, and keeps one wine server alive until stop.
# stop:  ends the wine server and the Xvfb that start began (only those).
set -euo pipefail
# The caller's own display, before wine-env.sh fills DISPLAY in from a session
# file that an interrupted run may have left.
caller_display=${DISPLAY:-}
. "$(dirname "$0")/wine-env.sh"
state="$WINEPREFIX.session.state"

start() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  # What an interrupted run left (its Xvfb, its server) ends first.
  if [ -f "$state" ]; then stop; fi
  : >"$kv_session_file"
  : >"$state"
  if [ -z "$caller_display" ]; then
    unset DISPLAY
    # Xvfb picks a free display number itself and writes it to fd 3.
    local numfile="$WINEPREFIX.display"
    rm -f "$numfile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
    echo "xvfb_pid=$!" >>"$state"
    local n=""
    for _ in $(seq 200); do
      n=$(tr -dc 0-9 <"$numfile" 2>/dev/null || true)
      [ -n "$n" ] && break
      sleep 0.05
    done
    rm -f "$numfile"
    [ -n "$n" ] || { echo "wine: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$n"
    echo "export DISPLAY=:$n" >"$kv_session_file"
  fi
  if [ ! -f "$WINEPREFIX/.kv-ready" ]; then
    echo "wine: preparing the test prefix $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || { echo "wine: wineboot failed" >&2; exit 1; }
    wineserver -w
    touch "$WINEPREFIX/.kv-ready"
  fi
  # A persistent server: every Wine start of the run reuses it, and Wine's own
  # services start now, away from any caller's output pipe. A server that an
  # earlier, interrupted run left behind is simply reused.
  wineserver -p >/dev/null 2>&1 || true
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
