# `make package`: the Debian package of what install.cmake installs, under /usr, as
# quorvane_<version>_amd64.deb. Its dependencies are worked out by dpkg-shlibdeps from the
# libraries the programs link, plus what they load at run time: the Japanese font the menus are
# drawn with, and the OpenGL and EGL libraries libepoxy opens (they bring Mesa's drivers).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane developers")
set(CPACK_PACKAGE_CONTACT "${QUORVANE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "view the Earth and its stereographic projection in 3D")
set(CPACK_PACKAGE_DESCRIPTION "Quorvane shows stereographic projection in three dimensions: a textured
Earth at the centre of the scene and, on a plane below it, the Earth's
stereographic image, with latitude and longitude circles on both. Turn the
Earth with the mouse and watch its image change; orbit the camera, switch
the lines on and off, and go full screen. The package also holds
quorvane-snapshot, which draws the viewer's picture into a PNG file.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUORVANE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, libgl1, libegl1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
