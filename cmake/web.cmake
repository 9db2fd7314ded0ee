# The browser build: the same program and platform layer compiled by Emscripten to WebAssembly,
# drawing with WebGL 2 through the OpenGL ES 3.0 path of platform/d3d9. Every setting of the web
# build is in this file; the Makefile's `web` target configures it with Debian's Emscripten.cmake.
#
# Emscripten's ports download from the internet: none is used. The libraries beneath D3DX are
# compiled from the same Debian sources as the Windows build's (cmake/third_party_libraries.cmake),
# with zlib from its Debian source too.

# Boost is header-only for the parts in use: the host's headers through a folder that holds only a
# link to them, never all of /usr/include.
set(QUORVANE_BOOST_DIR ${CMAKE_BINARY_DIR}/host-boost)
file(MAKE_DIRECTORY ${QUORVANE_BOOST_DIR})
if(NOT EXISTS ${QUORVANE_BOOST_DIR}/boost)
  file(CREATE_LINK /usr/include/boost ${QUORVANE_BOOST_DIR}/boost SYMBOLIC)
endif()

include(${PROJECT_SOURCE_DIR}/cmake/third_party_libraries.cmake)

# No threads in this build: std::thread and std::async throw std::system_error, and the platform
# takes its fall-back path from the start instead (QUORVANE_NO_THREADS). C++ exceptions: see
# QUORVANE_WEB_EXCEPTIONS below.
set(QUORVANE_WEB_EXCEPTIONS -fexceptions)
add_compile_options(${QUORVANE_WEB_EXCEPTIONS})
add_link_options(${QUORVANE_WEB_EXCEPTIONS})

set(platform_dir ${PROJECT_SOURCE_DIR}/platform)
file(GLOB web_platform_sources CONFIGURE_DEPENDS
  ${platform_dir}/kernel32/*.cpp ${platform_dir}/user32/*.cpp ${platform_dir}/d3d9/*.cpp ${platform_dir}/text/*.cpp)
file(GLOB_RECURSE d3dx9_sources CONFIGURE_DEPENDS ${platform_dir}/d3dx9/*.cpp)
# fontconfig's configuration, face matching and the desktop's settings hook have web counterparts.
list(REMOVE_ITEM web_platform_sources ${platform_dir}/text/font_configuration.cpp
  ${platform_dir}/text/font_matching.cpp ${platform_dir}/kernel32/profile_written.cpp)
add_library(quorvane_platform STATIC ${web_platform_sources} ${d3dx9_sources}
  ${platform_dir}/include/constants_check.cpp
  ${platform_dir}/text/web/font_configuration.cpp ${platform_dir}/text/web/font_matching.cpp
  ${platform_dir}/kernel32/web/profile_written.cpp)
target_include_directories(quorvane_platform PUBLIC ${platform_dir}/include PRIVATE ${platform_dir})
# <epoxy/gl.h> is OpenGL ES 3.0 over WebGL 2 here (platform/gl/web).
target_include_directories(quorvane_platform SYSTEM PUBLIC ${platform_dir}/gl/web ${QUORVANE_BOOST_DIR})
target_compile_definitions(quorvane_platform PRIVATE QUORVANE_NO_THREADS)
target_link_libraries(quorvane_platform PUBLIC quorvane_earth_image
  quorvane_meshoptimizer quorvane_turbojpeg quorvane_png quorvane_freetype)
target_link_libraries(quorvane_program PUBLIC quorvane_platform)

# The display's shared parts and the browser display (platform/display/web), when it is there.
add_library(quorvane_display_shared STATIC ${platform_dir}/display/shared/event_queue.cpp
  ${platform_dir}/display/shared/gl_pixels.cpp ${platform_dir}/display/shared/gl_profile.cpp
  ${platform_dir}/display/shared/kept_frame.cpp ${platform_dir}/display/shared/png_writer.cpp
  ${platform_dir}/display/shared/compositor.cpp)
target_include_directories(quorvane_display_shared PRIVATE ${platform_dir})
target_include_directories(quorvane_display_shared SYSTEM PUBLIC ${platform_dir}/gl/web)
target_link_libraries(quorvane_display_shared PRIVATE quorvane_png)
if(EXISTS ${platform_dir}/display/web/CMakeLists.txt)
  add_subdirectory(${platform_dir}/display/web ${CMAKE_BINARY_DIR}/display-web)
endif()

# The fonts packed with the page, at these paths of its file system: Japanese and Latin text.
# Japanese: the Linux viewer's IPA Gothic, cut down by fontTools' subsetter (scripts/subset-font) to
# printable ASCII and the characters of the program's texts (app/, scene/, graphics/, user32), the
# same glyphs in 29 KB compressed instead of 4.3 MB. A cut font is a Derived Program under the IPA
# Font License, which its Article 3 allows under another name (Quorvane Gothic), with the licence
# and the way back to the original (web/font-japanese-README.txt), both in the download. With
# QUORVANE_WEB_FONT_JA_WHOLE the original is packed unchanged instead, as its Article 3 allows too.
# Latin: DejaVu Sans, whole, as on Linux: its Book face, and its ExtraLight face for the thin text
# of the help overlay (the faces fontconfig gives the desktop viewer for those weights).
set(QUORVANE_WEB_FONT_JA_SOURCE /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf CACHE FILEPATH
  "The Japanese font of the page, or the face it is cut from")
option(QUORVANE_WEB_FONT_JA_WHOLE "Pack the Japanese font whole rather than cut to the program's characters" OFF)
set(QUORVANE_WEB_FONT_JA_LICENCE /usr/share/doc/fonts-ipafont-gothic/copyright)
set(QUORVANE_WEB_FONT_LATIN /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf CACHE FILEPATH "The Latin font of the page")
set(QUORVANE_WEB_FONT_LATIN_LICENCE /usr/share/doc/fonts-dejavu-core/copyright)
set(QUORVANE_WEB_FONT_LATIN_LIGHT /usr/share/fonts/truetype/dejavu/DejaVuSans-ExtraLight.ttf CACHE FILEPATH
  "The Latin font of the page for thin and light text")
get_filename_component(font_latin ${QUORVANE_WEB_FONT_LATIN} NAME)
get_filename_component(font_latin_light ${QUORVANE_WEB_FONT_LATIN_LIGHT} NAME)
file(GLOB_RECURSE program_texts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/app/*.rc ${PROJECT_SOURCE_DIR}/app/*.cpp
  ${PROJECT_SOURCE_DIR}/app/*.h ${PROJECT_SOURCE_DIR}/scene/*.cpp ${PROJECT_SOURCE_DIR}/scene/*.h
  ${PROJECT_SOURCE_DIR}/graphics/*.cpp ${PROJECT_SOURCE_DIR}/graphics/*.h ${PROJECT_SOURCE_DIR}/platform/user32/*.cpp)
if(QUORVANE_WEB_FONT_JA_WHOLE)
  get_filename_component(font_ja ${QUORVANE_WEB_FONT_JA_SOURCE} NAME)
  set(QUORVANE_WEB_FONT_JA ${QUORVANE_WEB_FONT_JA_SOURCE})
else()
  set(font_ja quorvane-gothic.ttf)
  set(QUORVANE_WEB_FONT_JA ${CMAKE_BINARY_DIR}/fonts/${font_ja})
  add_custom_command(OUTPUT ${QUORVANE_WEB_FONT_JA}
    COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/scripts/subset-font ${QUORVANE_WEB_FONT_JA_SOURCE}
      ${QUORVANE_WEB_FONT_JA} "Quorvane Gothic" ${program_texts}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/subset-font ${QUORVANE_WEB_FONT_JA_SOURCE} ${program_texts}
    COMMENT "Cutting the page's Japanese font down to the program's characters"
    VERBATIM)
endif()
add_custom_target(quorvane_web_fonts DEPENDS ${QUORVANE_WEB_FONT_JA})
set_property(SOURCE ${platform_dir}/text/web/font_matching.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  QUORVANE_WEB_FONT_JA="/fonts/${font_ja}" QUORVANE_WEB_FONT_LATIN="/fonts/${font_latin}"
  QUORVANE_WEB_FONT_LATIN_LIGHT="/fonts/${font_latin_light}")

# The Data folder and the icons the resource script names, made by the data tools built for this
# machine (not for the browser) as a project of their own, as the Windows build does.
include(ExternalProject)
set(QUORVANE_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(QUORVANE_ICONS ${QUORVANE_ICON_DIR}/quorvane.ico ${QUORVANE_ICON_DIR}/quorvane_small.ico)
set(QUORVANE_HOST_DATA_DIR ${CMAKE_BINARY_DIR}/host-data)
set(host_mdl ${QUORVANE_HOST_DATA_DIR}/Data/mdl)
ExternalProject_Add(quorvane_host_data
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/data
  BINARY_DIR ${QUORVANE_HOST_DATA_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DQUORVANE_ICON_DIR=${QUORVANE_ICON_DIR}
    -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER} -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target quorvane_icons quorvane_data
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${QUORVANE_ICONS} ${host_mdl}/sphere.x ${host_mdl}/${QUORVANE_EARTH_IMAGE}
  INSTALL_COMMAND "")
add_custom_target(quorvane_icons DEPENDS quorvane_host_data)
include(${PROJECT_SOURCE_DIR}/cmake/resources.cmake)

# The page's folder: quorvane.html (as index.html), quorvane.js, quorvane.wasm, quorvane.data.
set(QUORVANE_WEB_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH "Where the page and its files are put")
# emcc's optimising link runs node scripts that need Debian's node modules.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
add_executable(quorvane ${QUORVANE_ENTRY_SOURCE} ${platform_dir}/main/web_main.cpp)
target_include_directories(quorvane PRIVATE ${platform_dir})
target_link_libraries(quorvane PRIVATE quorvane_program quorvane_platform)
if(TARGET quorvane_display_web)
  target_link_libraries(quorvane PRIVATE quorvane_display_web)
endif()
quorvane_add_viewer_resources(quorvane)
set_target_properties(quorvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUORVANE_WEB_DIR} SUFFIX .js)
add_dependencies(quorvane quorvane_host_data quorvane_web_fonts)

# The files packed into quorvane.data, at their place in the page's file system: the viewer runs in
# /quorvane, with Data/ there as on the desktop; the settings live in IndexedDB (web_main.cpp).
set(packed
  ${host_mdl}/sphere.x@/quorvane/Data/mdl/sphere.x
  ${host_mdl}/${QUORVANE_EARTH_IMAGE}@/quorvane/Data/mdl/${QUORVANE_EARTH_IMAGE}
  ${QUORVANE_WEB_FONT_JA}@/fonts/${font_ja}
  ${QUORVANE_WEB_FONT_LATIN}@/fonts/${font_latin}
  ${QUORVANE_WEB_FONT_LATIN_LIGHT}@/fonts/${font_latin_light})
set(pack_options)
foreach(file ${packed})
  list(APPEND pack_options "SHELL:--preload-file ${file}")
endforeach()
target_link_options(quorvane PRIVATE ${pack_options}
  -sENVIRONMENT=web
  # WebGL 2 alone: the ES 3.0 profile of platform/d3d9.
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
  # The blocking waits of user32 yield to the browser through Asyncify.
  -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
  # The settings folder: IndexedDB through IDBFS (web_main.cpp).
  -lidbfs.js -sFORCE_FILESYSTEM=1
  -sEXPORTED_RUNTIME_METHODS=ENV,FS,IDBFS,addRunDependency,removeRunDependency
  -sEXIT_RUNTIME=1
  # The page is ours (web/index.html), not emcc's shell.
  -sMINIFY_HTML=0)
set_property(TARGET quorvane APPEND PROPERTY LINK_DEPENDS ${host_mdl}/sphere.x ${host_mdl}/${QUORVANE_EARTH_IMAGE}
  ${QUORVANE_WEB_FONT_JA} ${QUORVANE_WEB_FONT_LATIN} ${QUORVANE_WEB_FONT_LATIN_LIGHT})

add_custom_command(OUTPUT ${QUORVANE_WEB_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/web/index.html ${QUORVANE_WEB_DIR}/index.html
  DEPENDS ${PROJECT_SOURCE_DIR}/web/index.html
  VERBATIM)
add_custom_target(quorvane_web_page ALL DEPENDS ${QUORVANE_WEB_DIR}/index.html)

include(${PROJECT_SOURCE_DIR}/cmake/web_dist.cmake)

# The browser tests (tests/web): the page of this build in headless Chromium.
enable_testing()
add_subdirectory(${PROJECT_SOURCE_DIR}/tests/web ${CMAKE_BINARY_DIR}/tests-web)
