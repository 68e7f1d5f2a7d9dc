# libpng (with zlib) and libjpeg decode the editor's images; FreeType draws its text on Linux
# (Windows draws text with GDI).
# The cache the dependency scripts build into (scripts/windows-deps, scripts/linux-deps).
if(NOT "$ENV{VOLTREX_CACHE}" STREQUAL "")
  set(voltrex_cache "$ENV{VOLTREX_CACHE}")
elseif(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(voltrex_cache "$ENV{XDG_CACHE_HOME}/voltrex")
elseif(NOT "$ENV{HOME}" STREQUAL "")
  set(voltrex_cache "$ENV{HOME}/.cache/voltrex")
else()
  set(voltrex_cache "/tmp/.cache/voltrex")
endif()

if(WIN32)
  # Static builds for mingw-w64 that scripts/windows-deps makes in the same cache folder.
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
  # Static, position-independent builds that scripts/linux-deps makes from Debian's sources,
  # linked in so that the binaries run on distributions that ship other versions of these
  # libraries (libjpeg.so.8 for .so.62) or none. Without them (a checkout that has not run
  # it) the system's shared libraries stand in, and the release tests say so.
  set(VOLTREX_LINUX_DEPS "${voltrex_cache}/linux-deps" CACHE PATH
      "Static zlib, libpng, libjpeg and FreeType, built by scripts/linux-deps")
  set(static_image_libraries
      ${VOLTREX_LINUX_DEPS}/lib/libfreetype.a
      ${VOLTREX_LINUX_DEPS}/lib/libpng.a
      ${VOLTREX_LINUX_DEPS}/lib/libjpeg.a
      ${VOLTREX_LINUX_DEPS}/lib/libz.a)
  set(have_static_libraries ON)
  foreach(library ${static_image_libraries})
    if(NOT EXISTS ${library})
      set(have_static_libraries OFF)
    endif()
  endforeach()
  if(have_static_libraries)
    target_include_directories(voltrex_core SYSTEM PUBLIC
      ${VOLTREX_LINUX_DEPS}/include ${VOLTREX_LINUX_DEPS}/include/freetype2)
    target_link_libraries(voltrex_core PUBLIC ${static_image_libraries} m)
  else()
    message(WARNING "Static image and font libraries missing in ${VOLTREX_LINUX_DEPS}: "
                    "linking the system's shared ones (run scripts/linux-deps)")
    find_package(PNG REQUIRED)
    find_package(JPEG REQUIRED)
    find_package(Freetype REQUIRED)
    target_link_libraries(voltrex_core PUBLIC PNG::PNG JPEG::JPEG PRIVATE Freetype::Freetype)
  endif()
endif()
