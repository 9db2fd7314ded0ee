# The libraries beneath our D3DX, cross-built for Windows from the Debian sources of the releases
# the Linux build links (scripts/fetch-windows-sources unpacks them), so that both targets decode
# images, rasterise glyphs and order faces alike. Each is built once, at configure time, into
# windows-libraries/<source>_<version> in the build tree: a reconfigure or rebuild with the same
# source versions reuses it, a new version builds beside it.
set(QUORVANE_WINDOWS_SOURCES /usr/src/quorvane-windows)
set(QUORVANE_WINDOWS_LIBRARIES ${CMAKE_BINARY_DIR}/windows-libraries)

# The unpacked source of a Debian source package, the newest if there are several.
function(quorvane_windows_source package out)
  file(GLOB found LIST_DIRECTORIES true ${QUORVANE_WINDOWS_SOURCES}/${package}_*)
  if(NOT found)
    message(FATAL_ERROR "No source of ${package} in ${QUORVANE_WINDOWS_SOURCES}: run scripts/install-deps")
  endif()
  list(SORT found COMPARE NATURAL ORDER DESCENDING)
  list(GET found 0 source)
  set(${out} ${source} PARENT_SCOPE)
endfunction()

# Configures, builds and installs `package` as static libraries with the build's own toolchain,
# unless the same version is installed already; its prefix goes to `out`.
function(quorvane_cross_build package out)
  quorvane_windows_source(${package} source)
  get_filename_component(name ${source} NAME)
  set(prefix ${QUORVANE_WINDOWS_LIBRARIES}/${name})
  set(${out} ${prefix} PARENT_SCOPE)
  if(EXISTS ${prefix}/built)
    return()
  endif()
  message(STATUS "Cross-building ${name} for Windows")
  set(work ${QUORVANE_WINDOWS_LIBRARIES}/build/${name})
  file(REMOVE_RECURSE ${work} ${prefix})
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${source} -B ${work} -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake -DCMAKE_INSTALL_PREFIX=${prefix}
      -DCMAKE_POSITION_INDEPENDENT_CODE=OFF -DBUILD_SHARED_LIBS=OFF ${ARGN}
    OUTPUT_QUIET RESULT_VARIABLE failed)
  if(NOT failed)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${work} --target install OUTPUT_QUIET RESULT_VARIABLE failed)
  endif()
  if(failed)
    message(FATAL_ERROR "Cross-building ${name} failed: see ${work}")
  endif()
  file(REMOVE_RECURSE ${work})
  file(TOUCH ${prefix}/built)
endfunction()

# A static library of a cross-built prefix as an imported target.
function(quorvane_imported_library target prefix library)
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${prefix}/lib/${library}
    INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include;${ARGN}")
endfunction()

quorvane_cross_build(meshoptimizer meshoptimizer_prefix)
quorvane_imported_library(quorvane_meshoptimizer ${meshoptimizer_prefix} libmeshoptimizer.a)

# No SIMD: its assembly needs nasm, and libjpeg-turbo's SIMD paths decode bit for bit as its C ones.
quorvane_cross_build(libjpeg-turbo jpeg_prefix -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=ON)
quorvane_imported_library(quorvane_turbojpeg ${jpeg_prefix} libturbojpeg.a)

# zlib is Debian's own Windows build (libz-mingw-w64-dev).
quorvane_cross_build(libpng1.6 png_prefix -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF)
quorvane_imported_library(quorvane_png ${png_prefix} libpng16.a)
set_property(TARGET quorvane_png PROPERTY INTERFACE_LINK_LIBRARIES z)

# Outlines are all the viewer asks of FreeType: no colour fonts, no shaping. Its gzip module uses
# the same Windows zlib as libpng (else FreeType's own copy would clash with it at link time).
quorvane_cross_build(freetype freetype_prefix -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON)
quorvane_imported_library(quorvane_freetype ${freetype_prefix} libfreetype.a ${freetype_prefix}/include/freetype2)
set_property(TARGET quorvane_freetype PROPERTY INTERFACE_LINK_LIBRARIES z)
