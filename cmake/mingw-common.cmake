# Shared part of the two MinGW-w64 toolchains (posix threads, statically linked, run
# under Wine for tests). The including file sets _kv_triplet (the compiler prefix),
# _kv_deps (the folder under build/deps/ with the cross-built image libraries) and
# CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${_kv_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_kv_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_kv_triplet}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# Floating point on the SSE2 unit, never the x87 stack, so results match the
# x86-64 build bit for bit.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The cross-built image libraries live in one folder per package and version.
get_filename_component(_kv_top "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
file(GLOB _kv_dep_roots LIST_DIRECTORIES true "${_kv_top}/build/deps/${_kv_deps}/*")
set(CMAKE_FIND_ROOT_PATH /usr/${_kv_triplet} ${_kv_dep_roots})
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
