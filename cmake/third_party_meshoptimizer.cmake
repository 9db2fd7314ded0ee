# meshoptimizer, for the vertex-cache order of D3DX's mesh optimisation: its library sources, as its
# own CMakeLists.txt lists them (no demo, no gltfpack).
quorvane_third_party_library(quorvane_meshoptimizer ${QUORVANE_SOURCE_meshoptimizer}
  src/allocator.cpp src/clusterizer.cpp src/indexcodec.cpp src/indexgenerator.cpp src/overdrawanalyzer.cpp
  src/overdrawoptimizer.cpp src/simplifier.cpp src/spatialorder.cpp src/stripifier.cpp src/vcacheanalyzer.cpp
  src/vcacheoptimizer.cpp src/vertexcodec.cpp src/vertexfilter.cpp src/vfetchanalyzer.cpp src/vfetchoptimizer.cpp)
target_include_directories(quorvane_meshoptimizer SYSTEM INTERFACE ${QUORVANE_SOURCE_meshoptimizer}/src)
