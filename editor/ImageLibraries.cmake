# libpng (with zlib) and libjpeg decode the editor's images; FreeType draws its text on Linux
# (Windows draws text with GDI).
if(WIN32)
  # Static builds for mingw-w64 that scripts/windows-deps makes in the same cache folder.
  if(NOT "$ENV{VOLTREX_CACHE}" STREQUAL "")
    set(voltrex_cache "$ENV{VOLTREX_CACHE}")
  elseif(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(voltrex_cache "$ENV{XDG_CACHE_HOME}/voltrex")
  elseif(NOT "$ENV{HOME}" STREQUAL "")
    set(voltrex_cache "$ENV{HOME}/.cache/voltrex")
  else()
    set(voltrex_cache "/tmp/.cache/voltrex")
  endif()
  set(VOLTREX_MINGW_DEPS "${voltrex_cache}/mingw-deps" CACHE PATH
      "Static zlib, libpng and libjpeg for mingw-w64, built by scripts/windows-deps")
  set(mingw_image_libraries
      ${VOLTREX_MINGW_DEPS}/lib/libpng.a
      ${VOLTREX_MINGW_DEPS}/lib/libjpeg.a
      ${VOLTREX_MINGW_DEPS}/lib/libz.a)
  foreach(library ${mingw_image_libraries})
    if(NOT EXISTS ${library})
      message(FATAL_ERROR "${library} is missing: run scripts/windows-deps "
                          "(or set VOLTREX_MINGW_DEPS to the folder it built)")
    endif()
  endforeach()
  target_include_directories(voltrex_core SYSTEM PUBLIC ${VOLTREX_MINGW_DEPS}/include)
  target_link_libraries(voltrex_core PUBLIC ${mingw_image_libraries})
else()
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(Freetype REQUIRED)
  target_link_libraries(voltrex_core PUBLIC PNG::PNG JPEG::JPEG PRIVATE Freetype::Freetype)
endif()
