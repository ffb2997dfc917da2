# Cross-compiling toolchain: 32-bit Windows, the build users get.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_kv_triplet i686-w64-mingw32)
set(_kv_deps win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
