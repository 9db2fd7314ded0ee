# What `make install` and the Debian package put under the prefix (GNUInstallDirs): the two
# programs, the data, the desktop entry with its icons, the AppStream metadata, the manual pages
# and the documentation. Every file of the desktop is named by the application id.
include(GNUInstallDirs)
set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(made_dir ${CMAKE_BINARY_DIR}/packaging)
set(QUORVANE_HOMEPAGE https://github.com/quorvane/quorvane)
set(QUORVANE_SCREENSHOT_URL ${QUORVANE_HOMEPAGE}/raw/main/docs/viewer.png)
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvane)

install(TARGETS quorvane quorvane-snapshot RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QUORVANE_DATA_DIR}/mdl/sphere.x ${QUORVANE_DATA_DIR}/mdl/${QUORVANE_EARTH_IMAGE}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvane/Data/mdl)

configure_file(${packaging_dir}/quorvane.desktop.in ${made_dir}/${QUORVANE_APP_ID}.desktop @ONLY)
configure_file(${packaging_dir}/quorvane.metainfo.xml.in ${made_dir}/${QUORVANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${made_dir}/${QUORVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${made_dir}/${QUORVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${QUORVANE_ICON_SIZES})
  install(FILES ${QUORVANE_ICON_DIR}/quorvane-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${QUORVANE_APP_ID}.png)
endforeach()

# Manual pages and the changelog are installed compressed (gzip -n: no name or time inside, so
# the same sources make the same package).
set(compressed)
foreach(page quorvane.1 quorvane-snapshot.1 changelog)
  set(source ${packaging_dir}/${page})
  if(NOT EXISTS ${source})
    set(source ${packaging_dir}/${page}.in)
  endif()
  configure_file(${source} ${made_dir}/${page} @ONLY)
  add_custom_command(OUTPUT ${made_dir}/${page}.gz
    COMMAND gzip -9nkf ${made_dir}/${page}
    DEPENDS ${made_dir}/${page}
    COMMENT "Compressing ${page}"
    VERBATIM)
  list(APPEND compressed ${made_dir}/${page}.gz)
endforeach()
add_custom_target(quorvane_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${made_dir}/quorvane.1.gz ${made_dir}/quorvane-snapshot.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${packaging_dir}/copyright ${made_dir}/changelog.gz
  DESTINATION ${doc_dir})
