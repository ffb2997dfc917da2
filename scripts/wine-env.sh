# Sourced by the scripts that run Wine: a private 32-bit prefix under build/, no
# debug chatter, and no prompts to install Mono or Gecko (we use neither).
kv_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${KV_WINEPREFIX:-$kv_top/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# One session per prefix, so several prefixes can run side by side.
kv_session_file="$WINEPREFIX.session.env"
# A session started by wine-session.sh supplies the X display (Xvfb when there
# was none).
if [ -z "${DISPLAY:-}" ] && [ -f "$kv_session_file" ]; then
  # shellcheck disable=SC1090
  . "$kv_session_file"
fi
