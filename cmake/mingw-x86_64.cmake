# Cross-compiling toolchain: 64-bit Windows. The same sources as the 32-bit build;
# its tests run under 64-bit Wine on machines whose kernel runs no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_kv_triplet x86_64-w64-mingw32)
set(_kv_deps win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
