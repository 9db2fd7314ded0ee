# FreeType, for D3DX's fonts: GDI finds the face and hands out its TrueType or OpenType data
# (platform/text/gdi), FreeType rasterises it as on Linux. Only the modules that path uses are
# compiled, in the order of FreeType's own module list: the TrueType and CFF drivers (and the
# PostScript helpers CFF needs), SFNT tables, the auto-hinter (which FreeType takes for TrueType
# faces without hinting instructions) and the anti-aliasing renderer. The options are Debian's
# (its ftoption.h) with the system zlib, as FreeType's CMakeLists.txt sets it: QUORVANE_ZLIB, shared
# with libpng. Its system layer is the Windows one there, the portable ANSI one on the web.
function(quorvane_freetype source)
  if(WIN32)
    set(system_sources builds/windows/ftsystem.c builds/windows/ftdebug.c)
  else()
    set(system_sources src/base/ftsystem.c src/base/ftdebug.c)
  endif()
  quorvane_third_party_library(quorvane_freetype ${source}
    src/base/ftbase.c src/base/ftbbox.c src/base/ftbitmap.c src/base/ftglyph.c src/base/ftinit.c src/base/ftmm.c
    src/base/ftsynth.c ${system_sources}
    src/autofit/autofit.c src/truetype/truetype.c src/cff/cff.c src/psaux/psaux.c src/psnames/psnames.c
    src/pshinter/pshinter.c src/sfnt/sfnt.c src/smooth/smooth.c src/gzip/ftgzip.c)
  set(config ${quorvane_freetype_GENERATED}/include/freetype/config)

  file(READ ${source}/include/freetype/config/ftoption.h options)
  string(REGEX REPLACE "/\\* +(#define +FT_CONFIG_OPTION_SYSTEM_ZLIB) +\\*/" "\\1" options "${options}")
  file(CONFIGURE OUTPUT ${config}/ftoption.h CONTENT "${options}" @ONLY)
  file(CONFIGURE OUTPUT ${config}/ftmodule.h @ONLY CONTENT [[
/* The modules of Quorvane's Windows and web builds (cmake/third_party_freetype.cmake). */
FT_USE_MODULE( FT_Module_Class, autofit_module_class )
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Driver_ClassRec, cff_driver_class )
FT_USE_MODULE( FT_Module_Class, psaux_module_class )
FT_USE_MODULE( FT_Module_Class, psnames_module_class )
FT_USE_MODULE( FT_Module_Class, pshinter_module_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
]])

  # The generated configuration first, as FreeType's own build has it.
  target_include_directories(quorvane_freetype SYSTEM PUBLIC ${quorvane_freetype_GENERATED}/include ${source}/include)
  target_compile_definitions(quorvane_freetype PRIVATE FT2_BUILD_LIBRARY)
  target_link_libraries(quorvane_freetype PRIVATE ${QUORVANE_ZLIB})
endfunction()
quorvane_freetype(${QUORVANE_SOURCE_freetype})
