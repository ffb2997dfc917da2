#!/usr/bin/env bash
# Cross-builds libjpeg-turbo, libpng, giflib, libtiff, libwebp and libheif (with
# its decoders libde265 for HEIC and dav1d for AVIF) for Windows from Debian's
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

# Pkg-config looks only at the libraries cross-built here, never at the native
# ones (a library that finds its dependencies through pkg-config would otherwise
# pick up the build machine's).
pkg_config_dirs() {
  local d dirs=""
  for d in "$deps/$arch"/*/lib/pkgconfig; do
    [ -d "$d" ] && dirs="$dirs${dirs:+:}$d"
  done
  echo "${dirs:-/nonexistent}"
}

# A Meson cross file for the MinGW-w64 compilers of this architecture.
meson_cross_file() {
  local cpu_family=x86 cpu=i686
  [ "$arch" = win64 ] && cpu_family=x86_64 cpu=x86_64
  cat <<EOT
[binaries]
c = '$triplet-gcc-posix'
cpp = '$triplet-g++-posix'
ar = '$triplet-ar'
strip = '$triplet-strip'
windres = '$triplet-windres'
nasm = 'nasm'

[built-in options]
c_args = ['-msse2', '-mfpmath=sse']

[host_machine]
system = 'windows'
cpu_family = '$cpu_family'
cpu = '$cpu'
endian = 'little'
EOT
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

build_webp() {
  # The decoder and the demuxer (for the first frame of an animation) only.
  cmake_build libwebp "$1" "$2" -DBUILD_SHARED_LIBS=OFF -DWEBP_BUILD_ANIM_UTILS=OFF \
    -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF -DWEBP_BUILD_GIF2WEBP=OFF \
    -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF -DWEBP_BUILD_WEBPINFO=OFF \
    -DWEBP_BUILD_LIBWEBPMUX=OFF -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF \
    -DWEBP_NEAR_LOSSLESS=OFF
}

build_de265() {
  cmake_build libde265 "$1" "$2" -DBUILD_SHARED_LIBS=OFF -DENABLE_SDL=OFF \
    -DENABLE_DECODER=OFF -DENABLE_ENCODER=OFF
}

build_dav1d() {
  local src=$1 prefix=$2
  local bdir="$deps/obj/$arch-dav1d"
  rm -rf "$bdir"
  mkdir -p "$bdir"
  meson_cross_file >"$bdir.cross"
  {
    meson setup "$bdir" "$src" --cross-file "$bdir.cross" --buildtype release \
      --default-library static --prefix "$prefix" --libdir lib -Denable_tools=false \
      -Denable_tests=false -Denable_examples=false -Denable_docs=false -Dlogging=false &&
      ninja -C "$bdir" -j "$jobs" && meson install -C "$bdir"
  } >>"$log" 2>&1 || fail "cross-building dav1d failed; see $log"
  rm -rf "$bdir" "$bdir.cross"
}

build_heif() {
  # Decoding only: libde265 and dav1d built in, no encoders, plug-ins, examples
  # or tests. The two decoders are found through pkg-config in their folders.
  PKG_CONFIG_LIBDIR=$(pkg_config_dirs) cmake_build libheif "$1" "$2" \
    -DBUILD_SHARED_LIBS=OFF -DENABLE_PLUGIN_LOADING=OFF -DWITH_EXAMPLES=OFF \
    -DBUILD_TESTING=OFF -DWITH_FUZZERS=OFF -DWITH_LIBDE265=ON -DWITH_DAV1D=ON \
    -DWITH_X265=OFF -DWITH_AOM_ENCODER=OFF -DWITH_AOM_DECODER=OFF -DWITH_SvtEnc=OFF \
    -DWITH_RAV1E=OFF -DWITH_DEFLATE_HEADER_COMPRESSION=OFF
  # Without a decoder found, libheif builds and then fails on every picture.
  grep -q 'libde265' "$2/lib/pkgconfig/libheif.pc" && grep -q 'dav1d' "$2/lib/pkgconfig/libheif.pc" ||
    fail "libheif was built without libde265 or dav1d; see $log"
}

ensure libjpeg-turbo libjpeg62-turbo-dev build_jpeg
ensure libpng1.6 libpng-dev build_png
ensure giflib libgif-dev build_giflib
ensure tiff libtiff-dev build_tiff
ensure libwebp libwebp-dev build_webp
ensure libde265 libde265-dev build_de265
ensure dav1d libdav1d-dev build_dav1d
ensure libheif libheif-dev build_heif
