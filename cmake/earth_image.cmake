# The Earth image's file name in Data/mdl: the build files take it from QUORVANE_EARTH_IMAGE, and
# the code from the target quorvane_earth_image, so that the sphere's X file, the program and
# every tool name one file. Included by the top-level build and by data/ when it builds on its
# own for the host of a cross build.
set(QUORVANE_EARTH_IMAGE EarthMap_2500x1250.jpg)
add_library(quorvane_earth_image INTERFACE)
target_compile_definitions(quorvane_earth_image
  INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:QUORVANE_EARTH_IMAGE="${QUORVANE_EARTH_IMAGE}">)
