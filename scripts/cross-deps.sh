#!/usr/bin/env bash
# Cross-builds libjpeg-turbo, libpng, giflib and libtiff for Windows from Debian's
# source packages (with Debian's patches), each into
# build/deps/<arch>/<source>-<version>/; <arch> is the argument, win32 (the
# default, the build users get) or win64 (the tests' build where 32-bit programs
# cannot run). The version is the one of the native
# development package installed, so both builds use the same library release.
# A package whose folder is complete is not built again.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
deps="$top/build/deps"
log="$top/build/setup.log"
arch=${1:-win32}
case "$arch" in
win32) triplet=i686-w64-mingw32 ;;
win64) triplet=x86_64-w64-mingw32 ;;
*)
  echo "usage: $0 [win32|win64]" >&2
  exit 2
  ;;
esac
toolchain="$top/cmake/mingw-${triplet%%-*}.cmake"
jobs=$(nproc)
mkdir -p "$deps/$arch" "$deps/src"

fail() {
  echo "setup: $*" >&2
  exit 1
}

# Version of the source package behind an installed native -dev package.
source_version() {
  local v
  v=$(dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null) || fail "$1 is not installed"
  echo "$v"
}

# Unpacks source package $1 (with Debian's patches) into $3, trying the versions
# listed in $2 in turn (the registry may no longer serve an older security
# update's files); prints the version unpacked.
fetch_source() {
  local pkg=$1 candidates=$2 dir=$3 ver
  rm -rf "$dir" "$dir.tmp"
  for ver in $candidates; do
    mkdir -p "$dir.tmp"
    if (cd "$dir.tmp" && apt-get source -q "$pkg=$ver") >>"$log" 2>&1; then
      local unpacked
      unpacked=$(find "$dir.tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)
      [ -n "$unpacked" ] || fail "the source package $pkg $ver unpacked to nothing; see $log"
      mv "$unpacked" "$dir"
      rm -rf "$dir.tmp"
      echo "$ver"
      return 0
    fi
    rm -rf "$dir.tmp"
  done
  if grep -qiE 'temporary failure resolving|could not resolve|unable to connect|network is unreachable' "$log"; then
    fail "downloading the source of $pkg failed: no network; see $log"
  fi
  fail "the source package $pkg ($candidates) is not available from the package registry; see $log"
}

cmake_build() {
  local name=$1 src=$2 prefix=$3
  shift 3
  local bdir="$deps/obj/$arch-$name"
  rm -rf "$bdir"
  {
    cmake -S "$src" -B "$bdir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DCMAKE_POSITION_INDEPENDENT_CODE=OFF "$@" &&
      cmake --build "$bdir" -j "$jobs" && cmake --install "$bdir"
  } >>"$log" 2>&1 || fail "cross-building $name failed; see $log"
  rm -rf "$bdir"
}

build_giflib() {
  local src=$1 prefix=$2
  local obj="$deps/obj/$arch-giflib"
  rm -rf "$obj"
  mkdir -p "$obj" "$prefix/lib" "$prefix/include"
  local files=(dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize)
  {
    for f in "${files[@]}"; do
      "$triplet-gcc-posix" -O2 -msse2 -mfpmath=sse -c "$src/$f.c" -I"$src" -o "$obj/$f.o" || exit 1
    done
    "$triplet-ar" rcs "$prefix/lib/libgif.a" "$obj"/*.o &&
      cp "$src/gif_lib.h" "$prefix/include/"
  } >>"$log" 2>&1 || fail "cross-building giflib failed; see $log"
  rm -rf "$obj"
}

# Builds source package $1 for the version of native package $2 with function $3.
# The installed version comes first; other versions the registry offers follow,
# newest first, in case the installed one's source is gone.
ensure() {
  local pkg=$1 native=$2 builder=$3
  local want
  want=$(source_version "$native")
  local done_dir
  for done_dir in "$deps/$arch/$pkg"-*; do
    if [ -f "$done_dir/.complete" ] && [ "$(cat "$done_dir/.complete")" = "$want" ]; then
      return 0
    fi
  done
  # Drop other versions of this package, so the toolchain finds only one.
  find "$deps/$arch" -mindepth 1 -maxdepth 1 -name "$pkg-*" -exec rm -rf {} +
  echo "setup: cross-building $pkg $want for $arch"
  local others
  others=$(apt-cache showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p' | sort -rV | grep -vxF "$want" || true)
  local src="$deps/src/$arch-$pkg"
  local got
  got=$(fetch_source "$pkg" "$want $others" "$src")
  local prefix="$deps/$arch/$pkg-${got#*:}" # no epoch in a folder name
  mkdir -p "$prefix"
  "$builder" "$src" "$prefix"
  rm -rf "$src"
  echo "$want" >"$prefix/.complete"
}

build_jpeg() {
  cmake_build libjpeg-turbo "$1" "$2" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DREQUIRE_SIMD=ON
}

build_png() {
  cmake_build libpng "$1" "$2" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DPNG_BUILD_ZLIB=OFF -DSKIP_INSTALL_PROGRAMS=ON \
    -DSKIP_INSTALL_EXPORT=ON
}

build_tiff() {
  cmake_build libtiff "$1" "$2" -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF \
    -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dcxx=OFF -Djbig=OFF \
    -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dlerc=OFF -Dlibdeflate=OFF -Dzlib=ON \
    -Djpeg=ON -Dold-jpeg=ON -Dpixarlog=ON
}

ensure libjpeg-turbo libjpeg62-turbo-dev build_jpeg
ensure libpng1.6 libpng-dev build_png
ensure giflib libgif-dev build_giflib
ensure tiff libtiff-dev build_tiff
