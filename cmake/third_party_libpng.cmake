# libpng, for D3DX's PNG textures: its library sources, as its CMakeLists.txt lists them, with the
# configuration it ships prebuilt (the one Debian's Linux build generates, but for the zlib version
# it is checked against), over QUORVANE_ZLIB (cmake/third_party_libraries.cmake). No SSE2 filters:
# PNG's filters are lossless, so they change the speed alone.
function(quorvane_libpng source)
  quorvane_third_party_library(quorvane_png ${source}
    png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c pngrtran.c pngrutil.c pngset.c pngtrans.c
    pngwio.c pngwrite.c pngwtran.c pngwutil.c)
  set(generated ${quorvane_png_GENERATED})

  file(STRINGS ${QUORVANE_ZLIB_H} zlib_vernum REGEX "^#define ZLIB_VERNUM ")
  string(REGEX REPLACE "^#define ZLIB_VERNUM +" "" zlib_vernum "${zlib_vernum}")
  file(READ ${source}/scripts/pnglibconf.h.prebuilt config)
  string(REGEX REPLACE "#define PNG_ZLIB_VERNUM 0[^\n]*" "#define PNG_ZLIB_VERNUM ${zlib_vernum}" config "${config}")
  file(CONFIGURE OUTPUT ${generated}/include/pnglibconf.h CONTENT "${config}" @ONLY)
  # Its users see only its API headers.
  foreach(header png.h pngconf.h)
    configure_file(${source}/${header} ${generated}/include/${header} COPYONLY)
  endforeach()

  target_include_directories(quorvane_png PRIVATE ${source})
  target_include_directories(quorvane_png SYSTEM PUBLIC ${generated}/include)
  target_compile_definitions(quorvane_png PRIVATE PNG_INTEL_SSE_OPT=0)
  target_link_libraries(quorvane_png PUBLIC ${QUORVANE_ZLIB})
endfunction()
quorvane_libpng(${QUORVANE_SOURCE_libpng1.6})
