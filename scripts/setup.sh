#!/usr/bin/env bash
# Installs what building and testing Kestrova needs on Debian 12, then cross-builds
# the image libraries for the 32-bit Windows build. Idempotent: with nothing
# missing it only checks and returns in a few seconds.
#
# Failures end with one line naming what is missing; the full output of the failed
# step is kept in build/setup.log.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$top/build"
log="$top/build/setup.log"
: >"$log"

fail() {
  echo "setup: $*" >&2
  exit 1
}

network_trouble() {
  grep -qiE 'temporary failure resolving|could not resolve|could not connect|unable to connect|network is unreachable|connection timed out' "$log"
}

# Runs a command quietly, its output going to the log; on failure names the step.
step() {
  local what=$1
  shift
  if ! "$@" >>"$log" 2>&1; then
    local hint=""
    network_trouble && hint=" (no network: the package registry cannot be reached)"
    fail "$what failed$hint; see $log"
  fi
}

if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  fail "not root and sudo is missing: run as root or install sudo"
fi

# Debian packages, as package[:arch] names that dpkg-query reports when installed.
packages=(
  cmake ninja-build make pkg-config dpkg-dev nasm
  g++ clang libclang-rt-14-dev
  libjpeg62-turbo-dev libpng-dev libgif-dev libtiff-dev zlib1g-dev
  libwebp-dev libheif-dev libde265-dev libdav1d-dev meson
  webp libheif-examples libavif-bin
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
  wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick xdotool
  # xrandr lays out the two-monitor test's X server; 32-bit Wine loads
  # libXinerama at run time to see more than one monitor.
  x11-xserver-utils libxinerama1:i386
  python3 hyperfine libvips-tools libjpeg-turbo-progs
  nsis
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done

have_deb_src() {
  grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}

if [ ${#missing[@]} -gt 0 ] || ! have_deb_src; then
  command -v apt-get >/dev/null || fail "apt-get is missing: this set-up needs Debian 12"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    step "adding the i386 architecture" "${SUDO[@]}" dpkg --add-architecture i386
  fi
  if ! have_deb_src; then
    # Mirror the binary sources as source sources, so apt-get source uses the
    # same archive (and snapshot date) the machine already trusts.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        "${SUDO[@]}" tee /etc/apt/sources.list.d/kestrova-src.sources >/dev/null
    elif [ -f /etc/apt/sources.list ]; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
        "${SUDO[@]}" tee /etc/apt/sources.list.d/kestrova-src.list >/dev/null
    fi
    have_deb_src || fail "no deb-src line could be added: no Debian package sources are configured"
  fi
  echo "setup: installing ${#missing[@]} packages: ${missing[*]}"
  step "apt-get update" "${SUDO[@]}" apt-get update
  # apt-get update reports unreachable sources as warnings only.
  network_trouble && fail "no network: the package registry cannot be reached (apt-get update); see $log"
  export DEBIAN_FRONTEND=noninteractive
  for p in "${missing[@]}"; do
    if ! apt-cache show "$p" >/dev/null 2>&1; then
      fail "package $p is missing from the package registry"
    fi
  done
  step "installing ${missing[*]}" "${SUDO[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The Windows builds use the posix thread model of MinGW-w64 (std::thread).
for tool in {i686,x86_64}-w64-mingw32-gcc-posix {i686,x86_64}-w64-mingw32-g++-posix; do
  command -v "$tool" >/dev/null || fail "$tool is missing after installing the MinGW-w64 compilers"
done

"$top/scripts/cross-deps.sh" win32
# Where the kernel runs no 32-bit programs, the Windows tests run on the 64-bit
# build under 64-bit Wine.
wine_arch=$("$top/scripts/wine-arch.sh")
if [ "$wine_arch" = win64 ]; then
  "$top/scripts/cross-deps.sh" win64
fi
