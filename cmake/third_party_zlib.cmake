# zlib, for libpng and FreeType in the web build: its library sources, as its CMakeLists.txt lists
# them, from the Debian source of the release the Linux build links. Its zconf.h is used as shipped
# (every feature test there is for a compiler, and emcc passes them as clang does on Unix).
quorvane_third_party_library(quorvane_zlib ${QUORVANE_SOURCE_zlib}
  adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c gzread.c gzwrite.c inflate.c infback.c inftrees.c
  inffast.c trees.c uncompr.c zutil.c)
target_include_directories(quorvane_zlib SYSTEM PUBLIC ${QUORVANE_SOURCE_zlib})
target_compile_definitions(quorvane_zlib PRIVATE HAVE_UNISTD_H)
set(QUORVANE_ZLIB quorvane_zlib)
set(QUORVANE_ZLIB_H ${QUORVANE_SOURCE_zlib}/zlib.h)
if(NOT QUORVANE_SOURCE_zlib)
  message(FATAL_ERROR "No zlib source unpacked for the web build: run scripts/fetch-windows-sources")
endif()
