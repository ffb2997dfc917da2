#!/usr/bin/env bash
# Prints the Windows build whose tests Wine can run on this machine: win32 when the
# kernel runs 32-bit programs (the 32-bit Wine loader starts), else win64 (some
# kernels are built or booted without 32-bit support, and 32-bit Wine then fails
# with "Exec format error"). KV_WINE_ARCH overrides the choice.
set -euo pipefail
if [ -n "${KV_WINE_ARCH:-}" ]; then
  echo "$KV_WINE_ARCH"
elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
