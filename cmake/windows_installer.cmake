# The Windows installer, quorvane-<version>-windows-x86_64-setup.exe beside the zip: NSIS's
# makensis packs the download's folder, as staged for the zip, with packaging/quorvane.nsi.
find_program(QUORVANE_MAKENSIS makensis REQUIRED DOC "NSIS's compiler (Debian's nsis; scripts/install-deps installs it)")
set(QUORVANE_DIST_SETUP ${QUORVANE_DIST_DIR}/${dist_name}-setup.exe)
set(installer_script ${PROJECT_SOURCE_DIR}/packaging/quorvane.nsi)
add_custom_command(OUTPUT ${QUORVANE_DIST_SETUP}
  COMMAND ${QUORVANE_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
    -DSOURCE_DIR=${stage}/${dist_name} -DICON=${QUORVANE_ICON_DIR}/quorvane.ico
    -DOUTFILE=${QUORVANE_DIST_SETUP} -DEARTH_IMAGE=${QUORVANE_EARTH_IMAGE} ${installer_script}
  DEPENDS ${QUORVANE_DIST_ZIP} ${installer_script} ${QUORVANE_ICONS}
  COMMENT "Making ${dist_name}-setup.exe"
  VERBATIM)
