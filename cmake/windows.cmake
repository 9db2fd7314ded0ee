# Windows executable: the program folders linked with the real import libraries.
# Boost is header-only for the parts in use: take the host's headers, and nothing else from
# /usr/include, through a folder that holds only a link to them.
set(QUORVANE_BOOST_DIR ${CMAKE_BINARY_DIR}/host-boost)
file(MAKE_DIRECTORY ${QUORVANE_BOOST_DIR})
if(NOT EXISTS ${QUORVANE_BOOST_DIR}/boost)
  file(CREATE_LINK /usr/include/boost ${QUORVANE_BOOST_DIR}/boost SYMBOLIC)
endif()
target_include_directories(quorvane_program SYSTEM PUBLIC ${QUORVANE_BOOST_DIR})
target_compile_definitions(quorvane_program PUBLIC UNICODE _UNICODE)

# Our D3DX (platform/d3dx9), linked statically, on the system's Direct3D 9: the executable needs no
# DirectX runtime beyond d3d9.dll. It reaches Direct3D through the public interfaces alone; the
# lower mip levels its texture loader would defer are made at once (platform/d3d9/windows), and
# fonts are found by GDI and rasterised by FreeType (platform/text/gdi).
include(${PROJECT_SOURCE_DIR}/cmake/third_party_libraries.cmake)
set(platform_dir ${PROJECT_SOURCE_DIR}/platform)
file(GLOB_RECURSE d3dx9_sources CONFIGURE_DEPENDS ${platform_dir}/d3dx9/*.cpp)
add_library(quorvane_d3dx9 STATIC ${d3dx9_sources} ${platform_dir}/text/font.cpp ${platform_dir}/text/text_layout.cpp
  ${platform_dir}/text/gdi/font_matching.cpp ${platform_dir}/d3d9/windows/deferred_levels.cpp)
target_include_directories(quorvane_d3dx9 PRIVATE ${platform_dir})
target_compile_definitions(quorvane_d3dx9 PUBLIC UNICODE _UNICODE)
target_link_libraries(quorvane_d3dx9 PRIVATE quorvane_meshoptimizer quorvane_turbojpeg quorvane_png quorvane_freetype
  PUBLIC d3d9 gdi32)
target_link_libraries(quorvane_program PUBLIC quorvane_d3dx9 d3d9 user32 gdi32 kernel32)

# The icons the resource script names, and the Data folder the executable is run with, are made
# from the Earth image by the data tools, built for this machine (not for Windows) as a project of
# their own.
include(ExternalProject)
set(QUORVANE_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(QUORVANE_ICONS ${QUORVANE_ICON_DIR}/quorvane.ico ${QUORVANE_ICON_DIR}/quorvane_small.ico)
set(QUORVANE_HOST_DATA_DIR ${CMAKE_BINARY_DIR}/host-data)
ExternalProject_Add(quorvane_host_icons
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/data
  BINARY_DIR ${QUORVANE_HOST_DATA_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DQUORVANE_ICON_DIR=${QUORVANE_ICON_DIR}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target quorvane_icons quorvane_data
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${QUORVANE_ICONS} ${QUORVANE_HOST_DATA_DIR}/Data/mdl/sphere.x
    ${QUORVANE_HOST_DATA_DIR}/Data/mdl/${QUORVANE_EARTH_IMAGE}
  INSTALL_COMMAND "")

add_executable(quorvane WIN32 ${QUORVANE_ENTRY_SOURCE} ${PROJECT_SOURCE_DIR}/app/quorvane.rc)
target_link_libraries(quorvane PRIVATE quorvane_program)
# A GUI program (WIN32); the linker gives it subsystem version 5.2, the lowest 64-bit Windows knows.
target_link_options(quorvane PRIVATE -municode -static)
set_source_files_properties(${PROJECT_SOURCE_DIR}/app/quorvane.rc PROPERTIES
  INCLUDE_DIRECTORIES "${PROJECT_SOURCE_DIR}/app;${QUORVANE_ICON_DIR};${QUORVANE_VERSION_DIR}"
  OBJECT_DEPENDS "${QUORVANE_ICONS};${QUORVANE_VERSION_DIR}/quorvane_version.h;${PROJECT_SOURCE_DIR}/app/resource.h;${PROJECT_SOURCE_DIR}/app/quorvane.manifest")
add_dependencies(quorvane quorvane_host_icons)

include(${PROJECT_SOURCE_DIR}/cmake/windows_dist.cmake)

# The fuzz targets' kept inputs replayed through this build's D3DX, with the invariants the Linux
# tests check (tests/support/file_invariants.h).
add_executable(replay_fuzz_inputs ${PROJECT_SOURCE_DIR}/tests/windows/replay_fuzz_inputs.cpp)
target_include_directories(replay_fuzz_inputs PRIVATE ${platform_dir} ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(replay_fuzz_inputs PRIVATE quorvane_d3dx9)
target_link_options(replay_fuzz_inputs PRIVATE -static)

# The executable imports no DLL but the system's and the DirectX runtime's, and carries its version.
enable_testing()
add_test(NAME QuorvaneExeImportsAndVersion
  COMMAND ${PROJECT_SOURCE_DIR}/tests/windows/check-exe ${CMAKE_OBJDUMP} ${CMAKE_RC_COMPILER} $<TARGET_FILE:quorvane>
    ${PROJECT_VERSION})
# The download unpacked into a fresh folder and run from there under Wine, on an X server of its
# own with a window manager: its window, menu and About box, a close through WM_CLOSE with exit
# code 0, and the INI it writes.
add_test(NAME QuorvaneDownloadUnderWine
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-xvfb --wm --
    ${PROJECT_SOURCE_DIR}/tests/windows/run-under-wine ${QUORVANE_DIST_ZIP} ${CMAKE_BINARY_DIR} ja)
# The same for a user whose language is English: the menus and the About box in English.
add_test(NAME QuorvaneDownloadUnderWineInEnglish
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-xvfb --wm --
    ${PROJECT_SOURCE_DIR}/tests/windows/run-under-wine ${QUORVANE_DIST_ZIP} ${CMAKE_BINARY_DIR} en)
# The installer run silently in the same prefix: the installed files, the Start-menu shortcut, the
# uninstall entry, the program started as the shortcut starts it, an install into another folder
# (the first copy removed) and one into the remembered folder, then the uninstaller, silent
# (Quorvane.ini kept) and through its pages in Japanese (removed when asked).
add_test(NAME QuorvaneInstallerUnderWine
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-xvfb --wm --
    ${PROJECT_SOURCE_DIR}/tests/windows/install-under-wine ${QUORVANE_DIST_SETUP} ${stage}/${dist_name}
    ${PROJECT_VERSION} ${CMAKE_BINARY_DIR})
# One Wine start for every input of both folders.
set(fuzz_regressions ${PROJECT_SOURCE_DIR}/tests/d3dx9/fuzz_regressions)
add_test(NAME FuzzRegressionsUnderWine
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-xvfb --
    ${PROJECT_SOURCE_DIR}/tests/windows/run-console-under-wine ${CMAKE_BINARY_DIR} $<TARGET_FILE:replay_fuzz_inputs>
    xfile=${fuzz_regressions}/xfile image=${fuzz_regressions}/image)
# The download with a damaged Quorvane.ini, without its Data folder, with sphere.x or the Earth
# image cut off or garbled: each time the window opens and closes with exit code 0.
add_test(NAME QuorvaneBadInputUnderWine
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-xvfb --wm --
    ${PROJECT_SOURCE_DIR}/tests/windows/bad-input-under-wine ${QUORVANE_DIST_ZIP} ${CMAKE_BINARY_DIR})
set_tests_properties(QuorvaneBadInputUnderWine PROPERTIES TIMEOUT 300 RESOURCE_LOCK wineprefix)
# The download's picture under Wine after each of a few inputs against quorvane-snapshot's after
# the same input: both tools are host programs, taken from the Linux release build (the Makefile
# builds them before these tests).
set(QUORVANE_HOST_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/release CACHE PATH
  "The Linux release build, whose quorvane-snapshot and quorvane-window-picture the picture test runs")
add_test(NAME QuorvanePictureUnderWine
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-xvfb --wm --
    ${PROJECT_SOURCE_DIR}/tests/windows/picture-under-wine ${QUORVANE_DIST_ZIP} ${CMAKE_BINARY_DIR}
    ${QUORVANE_HOST_BUILD_DIR}/quorvane-snapshot ${QUORVANE_HOST_BUILD_DIR}/tests/windows/quorvane-window-picture)
# Each makes the prefix when it is missing, and its Wine server serves one test at a time.
set_tests_properties(QuorvaneDownloadUnderWine QuorvaneDownloadUnderWineInEnglish QuorvaneInstallerUnderWine
  FuzzRegressionsUnderWine QuorvanePictureUnderWine PROPERTIES TIMEOUT 900 RESOURCE_LOCK wineprefix)
# The tests that look for the data files by name.
set_property(TEST QuorvaneDownloadUnderWine QuorvaneDownloadUnderWineInEnglish QuorvaneInstallerUnderWine
  QuorvaneBadInputUnderWine APPEND PROPERTY ENVIRONMENT QUORVANE_EARTH_IMAGE=${QUORVANE_EARTH_IMAGE})
