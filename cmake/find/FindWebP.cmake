# libwebp's decoder and its demuxer (the first frame of an animation):
# imported targets WebP::webp and WebP::demux. The cross builds link the static
# libraries, whose sharpyuv part (where the release has one) follows them.
find_path(WebP_INCLUDE_DIR webp/decode.h)
find_library(WebP_LIBRARY NAMES webp)
find_library(WebP_DEMUX_LIBRARY NAMES webpdemux)
find_library(WebP_SHARPYUV_LIBRARY NAMES sharpyuv)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(WebP REQUIRED_VARS WebP_LIBRARY WebP_DEMUX_LIBRARY
  WebP_INCLUDE_DIR)
if(WebP_FOUND AND NOT TARGET WebP::webp)
  add_library(WebP::webp UNKNOWN IMPORTED GLOBAL)
  set_target_properties(WebP::webp PROPERTIES IMPORTED_LOCATION ${WebP_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${WebP_INCLUDE_DIR})
  if(WebP_SHARPYUV_LIBRARY AND WebP_LIBRARY MATCHES "\\.a$")
    set_property(TARGET WebP::webp APPEND PROPERTY INTERFACE_LINK_LIBRARIES
      ${WebP_SHARPYUV_LIBRARY})
  endif()
  add_library(WebP::demux UNKNOWN IMPORTED GLOBAL)
  set_target_properties(WebP::demux PROPERTIES IMPORTED_LOCATION ${WebP_DEMUX_LIBRARY}
    INTERFACE_LINK_LIBRARIES WebP::webp)
endif()
mark_as_advanced(WebP_INCLUDE_DIR WebP_LIBRARY WebP_DEMUX_LIBRARY WebP_SHARPYUV_LIBRARY)
