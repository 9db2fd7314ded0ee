# quorvane_add_resources(TARGET RC_FILE [INCLUDE_DIRS dir...] [DEPENDS file-or-target...]): builds
# a resource script into a target. windres also looks for the files the script names (icons) in
# the INCLUDE_DIRS; DEPENDS names what the build makes of them. windres compiles the script into the standard binary .res format, exactly as for the
# Windows build; the .res file is then written out as a C++ array whose static initialiser hands
# it to kernel32 (LinkResourceFile), so FindResourceW, LoadStringW, LoadMenuW and the other
# loaders read the same bytes Windows would read from the executable.
#
# The script is UTF-8 and starts with `#pragma code_page(65001)`: windres and Microsoft's
# resource compiler both read it that way, and the .res holds its texts as UTF-16.
find_program(QUORVANE_WINDRES NAMES x86_64-w64-mingw32-windres REQUIRED)

function(quorvane_add_resources target rc_file)
  cmake_parse_arguments(ARG "" "" "INCLUDE_DIRS;DEPENDS" ${ARGN})
  get_filename_component(rc_path ${rc_file} ABSOLUTE)
  get_filename_component(rc_name ${rc_file} NAME_WE)
  get_filename_component(rc_dir ${rc_path} DIRECTORY)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/resources/${target})
  set(res_file ${out_dir}/${rc_name}.res)
  set(cpp_file ${out_dir}/${rc_name}_res.cpp)
  set(include_flags -I ${rc_dir})
  foreach(dir ${ARG_INCLUDE_DIRS})
    list(APPEND include_flags -I ${dir})
  endforeach()
  # Everything the script names (headers, icons) is a dependency through the preprocessor's
  # dependency list; icon files are listed by the caller's script, so the folder is watched.
  file(GLOB rc_inputs CONFIGURE_DEPENDS ${rc_dir}/*.h ${rc_dir}/*.ico ${rc_dir}/*.manifest)
  add_custom_command(
    OUTPUT ${res_file}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${QUORVANE_WINDRES} -J rc -O res ${include_flags} -i ${rc_path} -o ${res_file}
    DEPENDS ${rc_path} ${rc_inputs} ${ARG_DEPENDS}
    WORKING_DIRECTORY ${rc_dir}
    COMMENT "windres ${rc_file}"
    VERBATIM)
  add_custom_command(
    OUTPUT ${cpp_file}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${res_file} -DOUTPUT=${cpp_file}
      -P ${PROJECT_SOURCE_DIR}/cmake/embed_resources.cmake
    DEPENDS ${res_file} ${PROJECT_SOURCE_DIR}/cmake/embed_resources.cmake
    COMMENT "Linking ${rc_name}.res into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${cpp_file})
endfunction()

# The viewer's own resources (app/quorvane.rc with the icons the build makes) in an executable:
# the viewer, and the tests and tools that run its window.
function(quorvane_add_viewer_resources target)
  quorvane_add_resources(${target} ${PROJECT_SOURCE_DIR}/app/quorvane.rc
    INCLUDE_DIRS ${QUORVANE_ICON_DIR} ${QUORVANE_VERSION_DIR}
    DEPENDS ${QUORVANE_VERSION_DIR}/quorvane_version.h ${QUORVANE_ICONS} quorvane_icons)
endfunction()
