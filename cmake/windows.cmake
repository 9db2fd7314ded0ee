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
target_link_libraries(quorvane_program PUBLIC d3dx9_38 d3d9 user32 gdi32 kernel32)

add_executable(quorvane WIN32 ${QUORVANE_ENTRY_SOURCE})
target_link_libraries(quorvane PRIVATE quorvane_program)
target_link_options(quorvane PRIVATE -municode -static)
if(EXISTS ${PROJECT_SOURCE_DIR}/app/quorvane.rc)
  target_sources(quorvane PRIVATE ${PROJECT_SOURCE_DIR}/app/quorvane.rc)
endif()
