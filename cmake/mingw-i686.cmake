# Cross-compiling toolchain: 32-bit Windows with MinGW-w64 (posix threads), statically
# linked, run under Wine for tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# Floating point on the SSE2 unit, never the x87 stack, so results match the
# x86-64 build bit for bit.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The cross-built image libraries live in one folder per package and version.
get_filename_component(_kv_top "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
file(GLOB _kv_dep_roots LIST_DIRECTORIES true "${_kv_top}/build/deps/win32/*")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${_kv_dep_roots})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The static zlib, not MinGW's import library for zlib1.dll: the programs need no
# DLL of ours.
set(ZLIB_USE_STATIC_LIBS ON)
if(ZLIB_LIBRARY_RELEASE MATCHES "\\.dll\\.a$")  # found by an older configure
  unset(ZLIB_LIBRARY_RELEASE CACHE)
endif()

set(CMAKE_CROSSCOMPILING_EMULATOR "${_kv_top}/scripts/wine-run.sh")
