# quorvane_version.h: the version for resource scripts (the executable's VERSIONINFO and the About
# box), made from the project's version into a folder the resource compiler is given with -I.
set(QUORVANE_VERSION_DIR ${CMAKE_BINARY_DIR}/version)
configure_file(${PROJECT_SOURCE_DIR}/cmake/quorvane_version.h.in ${QUORVANE_VERSION_DIR}/quorvane_version.h @ONLY)
