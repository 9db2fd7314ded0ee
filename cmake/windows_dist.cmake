# `make dist-windows`: the Windows download, quorvane-<version>-windows-x86_64.zip, one folder
# holding quorvane.exe, its Data folder, README-windows.txt and the copyright file (both with
# Windows line ends, for Notepad), and the installer made from that folder.
set(QUORVANE_DIST_DIR ${CMAKE_BINARY_DIR}/dist CACHE PATH "Where make dist-windows puts the download")
set(dist_name quorvane-${PROJECT_VERSION}-windows-x86_64)
set(QUORVANE_DIST_ZIP ${QUORVANE_DIST_DIR}/${dist_name}.zip)
set(dist_texts ${CMAKE_BINARY_DIR}/dist-texts)
configure_file(${PROJECT_SOURCE_DIR}/packaging/README-windows.txt.in ${dist_texts}/README-windows.txt @ONLY
  NEWLINE_STYLE CRLF)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/copyright)
file(READ ${PROJECT_SOURCE_DIR}/packaging/copyright copyright_text)
string(REPLACE "\n" "\r\n" copyright_text "${copyright_text}")
file(WRITE ${dist_texts}/copyright.txt "${copyright_text}")

set(stage ${CMAKE_BINARY_DIR}/dist-stage)
set(data ${QUORVANE_HOST_DATA_DIR}/Data)
add_custom_command(OUTPUT ${QUORVANE_DIST_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/${dist_name} ${QUORVANE_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quorvane> ${dist_texts}/README-windows.txt
    ${dist_texts}/copyright.txt ${stage}/${dist_name}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${data} ${stage}/${dist_name}/Data
  COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${QUORVANE_DIST_ZIP} --format=zip
    ${dist_name}
  DEPENDS quorvane ${data}/mdl/sphere.x ${data}/mdl/${QUORVANE_EARTH_IMAGE} ${dist_texts}/README-windows.txt
    ${dist_texts}/copyright.txt
  COMMENT "Making ${dist_name}.zip"
  VERBATIM)
include(${PROJECT_SOURCE_DIR}/cmake/windows_installer.cmake)
add_custom_target(quorvane_dist ALL DEPENDS ${QUORVANE_DIST_ZIP} ${QUORVANE_DIST_SETUP})
