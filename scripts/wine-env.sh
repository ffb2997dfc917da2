# Sourced by the scripts that run Wine: a private prefix under build/, no debug
# chatter, and no prompts to install Mono or Gecko (we use neither).
#
# The prefix is 32-bit where the kernel runs 32-bit programs; elsewhere it is
# 64-bit, for the win64 build (scripts/wine-arch.sh decides; kv_wine_arch holds
# the answer), and "wine" and "wineserver" name the 64-bit programs.
kv_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kv_wine_arch=$("$kv_top/scripts/wine-arch.sh")
if [ "$kv_wine_arch" = win64 ]; then
  export WINEPREFIX="${KV_WINEPREFIX:-$kv_top/build/wineprefix}64"
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  export WINESERVER=/usr/lib/wine/wineserver64
  kv_wine_shims="$kv_top/build/wine64-bin"
  if [ ! -x "$kv_wine_shims/wineserver" ]; then
    mkdir -p "$kv_wine_shims"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$kv_wine_shims/wine"
    printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 "$@"\n' >"$kv_wine_shims/wineserver"
    chmod +x "$kv_wine_shims/wine" "$kv_wine_shims/wineserver"
  fi
  case ":$PATH:" in
  *":$kv_wine_shims:"*) ;;
  *) export PATH="$kv_wine_shims:$PATH" ;;
  esac
else
  export WINEPREFIX="${KV_WINEPREFIX:-$kv_top/build/wineprefix}"
  export WINEARCH=win32
fi
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
