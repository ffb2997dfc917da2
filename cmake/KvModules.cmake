# One static library per subsystem folder under src/. A folder's portable files
# (*.cpp) are built in both configurations; its Win32 files (*_win.cpp) only in the
# win32 one, and their native twins (*_posix.cpp) only in the native one. Files
# named main*.cpp belong to executables and are left out.

# Warnings are errors in our own code (not in the libraries we build with it).
add_library(kv_warnings INTERFACE)
target_compile_options(kv_warnings INTERFACE -Wall -Wextra -Werror)

# The *.cpp files of the current folder that belong to this configuration: every
# file whose name matches `skip` is left out. The glob is re-checked at each build.
function(kv_folder_sources out skip)
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(sources "")
  foreach(f IN LISTS all)
    get_filename_component(base ${f} NAME)
    if(NOT base MATCHES "${skip}")
      list(APPEND sources ${f})
    endif()
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

function(kv_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  if(WIN32)
    kv_folder_sources(sources "^main|_posix\\.cpp$")
  else()
    kv_folder_sources(sources "^main|_win\\.cpp$")
  endif()
  if(sources)
    add_library(kv_${name} STATIC ${sources})
    target_link_libraries(kv_${name} PRIVATE kv_warnings)
    set(scope PUBLIC)
  else()
    add_library(kv_${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(kv_${name} ${scope} ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(kv_${name} ${scope} ${ARG_DEPS})
  if(WIN32)
    # Wide (W) Win32 functions everywhere; narrow text is UTF-8 inside the program.
    target_compile_definitions(kv_${name} ${scope} UNICODE _UNICODE WIN32_LEAN_AND_MEAN
      NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()

# An executable of ours: warnings as errors, include root at src/.
function(kv_executable name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  if(ARG_GUI)
    add_executable(${name} WIN32 ${ARG_SOURCES})
  else()
    add_executable(${name} ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kv_warnings)
  if(WIN32)
    target_compile_definitions(${name} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
      NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()

# Compiles the program's resource script (icons, built-in skin, version
# information, manifest) into target. The script pulls its files in by name, so
# they are listed as its dependencies: a redrawn bitmap or an edited manifest
# rebuilds it. The sample skins are files beside the program, not resources.
function(kv_program_resources target)
  enable_language(RC)
  set(rc ${PROJECT_SOURCE_DIR}/src/resources/kestrova.rc)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/resources/*)
  list(REMOVE_ITEM files ${rc})
  list(FILTER files EXCLUDE REGEX "/resources/skins/")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${files}")
  target_sources(${target} PRIVATE ${rc})
endfunction()
