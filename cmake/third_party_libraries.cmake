# The libraries beneath our D3DX in the Windows and web builds, compiled from the Debian sources of
# the releases the Linux build links (scripts/fetch-windows-sources unpacks them into
# /usr/src/quorvane-windows/<source>_<version>), so that both targets decode images, rasterise
# glyphs and order faces alike. Each is an ordinary static library of this build, compiled from an
# explicit list of its source files (one file below per library): nothing is built at configure
# time, and the libraries build in parallel with the rest. Their objects and generated headers are
# kept under paths that name the source version, so a new version builds beside the old one.

# The source folder of each library, as "<source> <folder>" lines; the script fails, naming the
# library, when a source of the installed Linux package's release is not unpacked.
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-windows-sources --list
  OUTPUT_VARIABLE sources_found ERROR_VARIABLE sources_error RESULT_VARIABLE sources_failed)
if(sources_failed)
  message(FATAL_ERROR "The library sources of this build: ${sources_error}")
endif()
string(REPLACE "\n" ";" sources_found "${sources_found}")
foreach(line IN LISTS sources_found)
  if(line MATCHES "^([^ ]+) (.+)$")
    set(QUORVANE_SOURCE_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
    get_filename_component(name ${CMAKE_MATCH_2} NAME)
    get_filename_component(sources_root ${CMAKE_MATCH_2} DIRECTORY)
    message(STATUS "Third-party libraries: ${name}")
  endif()
endforeach()
# Configure again when a source is unpacked beside them (the script takes the best one).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources_root}
  ${PROJECT_SOURCE_DIR}/scripts/fetch-windows-sources)

# A static library of third-party code: the sources named relative to `source_dir`, compiled
# without our warnings (the code is not ours to change). Its generated headers go to a folder of
# the build tree named after the source version, returned in `<target>_GENERATED`.
function(quorvane_third_party_library target source_dir)
  list(TRANSFORM ARGN PREPEND ${source_dir}/ OUTPUT_VARIABLE sources)
  add_library(${target} STATIC ${sources})
  target_compile_options(${target} PRIVATE -w)
  get_filename_component(version ${source_dir} NAME)
  set(${target}_GENERATED ${CMAKE_BINARY_DIR}/third-party/${version} PARENT_SCOPE)
endfunction()

# zlib, for libpng and FreeType: Debian's Windows build of it (libz-mingw-w64-dev) for Windows, its
# Debian source for the web. QUORVANE_ZLIB names the library to link, QUORVANE_ZLIB_H its header.
if(EMSCRIPTEN)
  include(${PROJECT_SOURCE_DIR}/cmake/third_party_zlib.cmake)
else()
  set(QUORVANE_ZLIB z)
  find_file(QUORVANE_ZLIB_H zlib.h REQUIRED)
endif()
include(${PROJECT_SOURCE_DIR}/cmake/third_party_meshoptimizer.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/third_party_libjpeg_turbo.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/third_party_libpng.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/third_party_freetype.cmake)
