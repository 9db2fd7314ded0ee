# build/dist/quorvane-<version>-web.zip: the page's folder (index.html, quorvane.js, .wasm, .data)
# for any static host, with the licences in licences/: ours, those of the fonts packed in
# quorvane.data, and those of the libraries compiled into quorvane.wasm (from their Debian sources).
set(QUORVANE_DIST_DIR ${PROJECT_SOURCE_DIR}/build/dist CACHE PATH "Where the browser download is put")
set(dist_name quorvane-${PROJECT_VERSION}-web)
set(web_stage ${CMAKE_BINARY_DIR}/dist-stage)
set(QUORVANE_WEB_DIST_ZIP ${QUORVANE_DIST_DIR}/${dist_name}.zip)
set(licences ${web_stage}/${dist_name}/licences)
set(library_licences)
foreach(library meshoptimizer libjpeg-turbo libpng1.6 freetype zlib)
  list(APPEND library_licences COMMAND ${CMAKE_COMMAND} -E copy ${QUORVANE_SOURCE_${library}}/debian/copyright
    ${licences}/${library}.txt)
endforeach()
add_custom_command(OUTPUT ${QUORVANE_WEB_DIST_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${web_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${licences} ${QUORVANE_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${QUORVANE_WEB_DIR}/index.html ${QUORVANE_WEB_DIR}/quorvane.js
    ${QUORVANE_WEB_DIR}/quorvane.wasm ${QUORVANE_WEB_DIR}/quorvane.data ${web_stage}/${dist_name}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/copyright ${licences}/quorvane.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${QUORVANE_WEB_FONT_JA_LICENCE} ${licences}/font-japanese.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/web/font-japanese-README.txt
    ${licences}/font-japanese-README.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/scripts/subset-font ${licences}/subset-font.py
  COMMAND ${CMAKE_COMMAND} -E copy ${QUORVANE_WEB_FONT_LATIN_LICENCE} ${licences}/font-latin.txt
  ${library_licences}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${QUORVANE_WEB_DIST_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${web_stage} ${CMAKE_COMMAND} -E tar cf ${QUORVANE_WEB_DIST_ZIP} --format=zip
    ${dist_name}
  DEPENDS quorvane quorvane_web_page ${PROJECT_SOURCE_DIR}/web/index.html ${PROJECT_SOURCE_DIR}/packaging/copyright
  COMMENT "Packing ${dist_name}.zip"
  VERBATIM)
add_custom_target(quorvane_dist_web DEPENDS ${QUORVANE_WEB_DIST_ZIP})
