# libheif, imported target Libheif::heif. The native build links the system's
# shared library, which brings its decoders along. The cross builds link the
# static one, built with libde265 (HEIC) and dav1d (AVIF) inside, so those two
# follow it on the link line.
find_path(Libheif_INCLUDE_DIR libheif/heif.h)
find_library(Libheif_LIBRARY NAMES heif)
set(_kv_heif_vars Libheif_LIBRARY Libheif_INCLUDE_DIR)
if(Libheif_LIBRARY MATCHES "\\.a$")
  find_library(Libheif_DE265_LIBRARY NAMES de265)
  find_library(Libheif_DAV1D_LIBRARY NAMES dav1d)
  list(APPEND _kv_heif_vars Libheif_DE265_LIBRARY Libheif_DAV1D_LIBRARY)
endif()
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Libheif REQUIRED_VARS ${_kv_heif_vars})
if(Libheif_FOUND AND NOT TARGET Libheif::heif)
  add_library(Libheif::heif UNKNOWN IMPORTED GLOBAL)
  set_target_properties(Libheif::heif PROPERTIES IMPORTED_LOCATION ${Libheif_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${Libheif_INCLUDE_DIR})
  if(Libheif_LIBRARY MATCHES "\\.a$")
    find_package(Threads REQUIRED)
    set_target_properties(Libheif::heif PROPERTIES
      INTERFACE_COMPILE_DEFINITIONS LIBHEIF_STATIC_BUILD
      INTERFACE_LINK_LIBRARIES "${Libheif_DE265_LIBRARY};${Libheif_DAV1D_LIBRARY};Threads::Threads")
  endif()
endif()
mark_as_advanced(Libheif_INCLUDE_DIR Libheif_LIBRARY Libheif_DE265_LIBRARY Libheif_DAV1D_LIBRARY)
