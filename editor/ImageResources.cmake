# The editor's images go into the binary: resources of type "PNG" on Windows, byte arrays
# generated from the same list on Linux. platform/win32/Images.rc is that one list.
set(image_script ${PROJECT_SOURCE_DIR}/platform/win32/Images.rc)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${image_script})
set(image_line_pattern "^[0-9]+[ \t]+PNG[ \t]+\"([^\"]+)\"")
file(STRINGS ${image_script} image_lines REGEX "${image_line_pattern}")
set(image_files)
foreach(line ${image_lines})
  string(REGEX MATCH "${image_line_pattern}" unused "${line}")
  list(APPEND image_files ${PROJECT_SOURCE_DIR}/${CMAKE_MATCH_1})
endforeach()

if(WIN32)
  set(image_object ${CMAKE_CURRENT_BINARY_DIR}/Images.res.obj)
  add_custom_command(OUTPUT ${image_object}
    COMMAND ${CMAKE_RC_COMPILER} -I ${PROJECT_SOURCE_DIR} -O coff -i ${image_script}
            -o ${image_object}
    DEPENDS ${image_script} ${image_files}
    COMMENT "Compiling the editor's image resources"
    VERBATIM)
  add_custom_target(voltrex_images DEPENDS ${image_object})
  add_dependencies(voltrex_core voltrex_images)
  # A resource object defines no symbol, so nothing would pull it out of the static library:
  # every binary that links the core links the object itself.
  target_link_libraries(voltrex_core INTERFACE ${image_object})
else()
  set(image_source ${CMAKE_CURRENT_BINARY_DIR}/EmbeddedImages.cpp)
  add_custom_command(OUTPUT ${image_source}
    COMMAND ${CMAKE_COMMAND} -DSCRIPT=${image_script} -DROOT=${PROJECT_SOURCE_DIR}
            -DOUT=${image_source} -P ${CMAKE_CURRENT_LIST_DIR}/EmbedImages.cmake
    DEPENDS ${image_script} ${image_files} ${CMAKE_CURRENT_LIST_DIR}/EmbedImages.cmake
    COMMENT "Embedding the editor's images"
    VERBATIM)
  add_custom_target(voltrex_images DEPENDS ${image_source})
  add_dependencies(voltrex_core voltrex_images)
  target_sources(voltrex_core PRIVATE ${image_source})
endif()
