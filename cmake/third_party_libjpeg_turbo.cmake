# libjpeg-turbo's TurboJPEG library, for D3DX's JPEG textures: the libjpeg sources and the TurboJPEG
# API over them, as its CMakeLists.txt lists them for turbojpeg-static, configured as it would be
# for mingw-w64 or, on the web, for a 32-bit Unix (8-bit samples, libjpeg 6.2 API, arithmetic coding, memory source and
# destination). No SIMD: its assembly needs nasm, and its SIMD paths decode bit for bit as its C
# ones.
function(quorvane_libjpeg_turbo source)
  quorvane_third_party_library(quorvane_turbojpeg ${source}
    jcapimin.c jcapistd.c jccoefct.c jccolor.c jcdctmgr.c jchuff.c jcicc.c jcinit.c jcmainct.c jcmarker.c
    jcmaster.c jcomapi.c jcparam.c jcphuff.c jcprepct.c jcsample.c jctrans.c jdapimin.c jdapistd.c jdatadst.c
    jdatasrc.c jdcoefct.c jdcolor.c jddctmgr.c jdhuff.c jdicc.c jdinput.c jdmainct.c jdmarker.c jdmaster.c
    jdmerge.c jdphuff.c jdpostct.c jdsample.c jdtrans.c jerror.c jfdctflt.c jfdctfst.c jfdctint.c jidctflt.c
    jidctfst.c jidctint.c jidctred.c jquant1.c jquant2.c jutils.c jmemmgr.c jmemnobs.c
    jaricom.c jcarith.c jdarith.c jsimd_none.c
    turbojpeg.c transupp.c jdatadst-tj.c jdatasrc-tj.c rdbmp.c rdppm.c wrbmp.c wrppm.c)
  set(generated ${quorvane_turbojpeg_GENERATED})

  # The release and copyright years, from the project's own CMakeLists.txt.
  file(STRINGS ${source}/CMakeLists.txt release REGEX "^set\\((VERSION|COPYRIGHT_YEAR) ")
  string(REGEX MATCH "VERSION ([0-9]+)\\.([0-9]+)\\.([0-9]+)" VERSION "${release}")
  set(VERSION ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3})
  math(EXPR LIBJPEG_TURBO_VERSION_NUMBER "${CMAKE_MATCH_1} * 1000000 + ${CMAKE_MATCH_2} * 1000 + ${CMAKE_MATCH_3}")
  string(REGEX MATCH "COPYRIGHT_YEAR \"([0-9-]+)\"" COPYRIGHT_YEAR "${release}")
  set(COPYRIGHT_YEAR ${CMAKE_MATCH_1})
  if(NOT VERSION OR NOT COPYRIGHT_YEAR)
    message(FATAL_ERROR "No VERSION or COPYRIGHT_YEAR in ${source}/CMakeLists.txt")
  endif()

  set(JPEG_LIB_VERSION 62)
  set(BITS_IN_JSAMPLE 8)
  set(C_ARITH_CODING_SUPPORTED 1)
  set(D_ARITH_CODING_SUPPORTED 1)
  set(MEM_SRCDST_SUPPORTED 1)
  get_filename_component(BUILD ${source} NAME)
  set(INLINE "__inline__ __attribute__((always_inline))")
  set(THREAD_LOCAL __thread)
  set(CMAKE_PROJECT_NAME libjpeg-turbo)
  set(SIZE_T ${CMAKE_SIZEOF_VOID_P})
  set(WITH_SIMD OFF)
  set(RIGHT_SHIFT_IS_UNSIGNED OFF)
  # size_t is wider than unsigned long on 64-bit Windows; <intrin.h> is looked for with MSVC alone.
  set(HAVE_BUILTIN_CTZL OFF)
  set(HAVE_INTRIN_H OFF)
  if(WIN32)
    configure_file(${source}/win/jconfig.h.in ${generated}/jconfig.h)
  else()
    configure_file(${source}/jconfig.h.in ${generated}/jconfig.h)
  endif()
  configure_file(${source}/jconfigint.h.in ${generated}/jconfigint.h)
  configure_file(${source}/jversion.h.in ${generated}/jversion.h)
  # Its users see only its API header.
  configure_file(${source}/turbojpeg.h ${generated}/include/turbojpeg.h COPYONLY)

  target_include_directories(quorvane_turbojpeg PRIVATE ${generated} ${source})
  target_include_directories(quorvane_turbojpeg SYSTEM INTERFACE ${generated}/include)
  target_compile_definitions(quorvane_turbojpeg PRIVATE BMP_SUPPORTED PPM_SUPPORTED)
endfunction()
quorvane_libjpeg_turbo(${QUORVANE_SOURCE_libjpeg-turbo})
