# The browser build, configured with emcmake (see scripts/build-web.sh): the same code above the
# platform, the browser platform below it, and the pictures, sounds and glyphs a native build
# generated packed beside the page.
set(ZORVANE_WEB_DATA "" CACHE PATH "The data folder of a native build (pictures, sounds, glyphs)")
set(ZORVANE_WEB_OUT ${CMAKE_BINARY_DIR} CACHE PATH "Where the page and its files are written")
if(NOT IS_DIRECTORY "${ZORVANE_WEB_DATA}")
  message(FATAL_ERROR "ZORVANE_WEB_DATA must name the data folder of a native build")
endif()

add_compile_options(-Wall -Wextra)
configure_file(src/app/zorvane_version.h.in ${CMAKE_BINARY_DIR}/generated/zorvane_version.h @ONLY)

file(GLOB ZORVANE_CORE_SOURCES CONFIGURE_DEPENDS
  src/common/*.cpp src/display/*.cpp src/sound/*.cpp src/playfield/*.cpp src/enemies/*.cpp
  src/game/*.cpp src/frontend/*.cpp src/app/*.cpp)
list(FILTER ZORVANE_CORE_SOURCES EXCLUDE REGEX ".*/src/app/main(_web)?\\.cpp$")
add_library(zorvane_core STATIC ${ZORVANE_CORE_SOURCES})
target_include_directories(zorvane_core PUBLIC src ${CMAKE_BINARY_DIR}/generated)

# The desktop's file search and its glyph rasteriser stay behind: the page has its own storage.
file(GLOB ZORVANE_PLATFORM_WEB CONFIGURE_DEPENDS src/platform/common/*.cpp src/platform/web/*.cpp)
list(FILTER ZORVANE_PLATFORM_WEB EXCLUDE REGEX ".*/src/platform/common/(storage|glyph_cache|scale|settings_files|screenshot_files)\\.cpp$")
# toml++ is header-only; -idirafter keeps glibc's headers from /usr/include out of the way.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/platform/common/config_file.cpp PROPERTIES COMPILE_OPTIONS "-idirafter;/usr/include")
add_library(zorvane_platform_web STATIC ${ZORVANE_PLATFORM_WEB})
target_include_directories(zorvane_platform_web PUBLIC src)

# What the page needs: pictures, sounds and the glyph table (not the build's stamps or icons).
file(GLOB ZORVANE_WEB_DATA_FILES ${ZORVANE_WEB_DATA}/*.BMP ${ZORVANE_WEB_DATA}/*.WAV ${ZORVANE_WEB_DATA}/*.bmp
  ${ZORVANE_WEB_DATA}/*.wav ${ZORVANE_WEB_DATA}/*.glyphs)
set(ZORVANE_WEB_STAGE ${CMAKE_BINARY_DIR}/page-data)
file(REMOVE_RECURSE ${ZORVANE_WEB_STAGE})
file(COPY ${ZORVANE_WEB_DATA_FILES} DESTINATION ${ZORVANE_WEB_STAGE})

add_executable(zorvane src/app/main_web.cpp)
target_link_libraries(zorvane PRIVATE zorvane_core zorvane_platform_web zorvane_core)
set_target_properties(zorvane PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${ZORVANE_WEB_OUT})
target_link_options(zorvane PRIVATE
  "SHELL:--preload-file ${ZORVANE_WEB_STAGE}@/data"
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=33554432
  "-sEXPORTED_FUNCTIONS=_main,_malloc,_free,_zorvane_audio_mix,_zorvane_test_replay,_zorvane_test_timedemo,_zorvane_test_start,_zorvane_test_passes,_zorvane_test_phase,_zorvane_touch,_zorvane_touch_action"
  "-sEXPORTED_RUNTIME_METHODS=FS,ccall,UTF8ToString,HEAP16")
# The page is ours: Debian's emscripten cannot minify a generated one. Beside it the web app's
# manifest, its icons (painted by the native build's assetgen) and the service worker, whose
# cache is named for the version and a hash of the files it keeps, so a new build replaces it.
set(ZORVANE_WEB_ICONS "${ZORVANE_WEB_DATA}/../icons" CACHE PATH "The icons of a native build (icon-192.png, icon-512.png)")
set(ZORVANE_WEB_PAGE ${CMAKE_SOURCE_DIR}/src/platform/web)
add_custom_command(TARGET zorvane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${ZORVANE_WEB_PAGE}/zorvane.html ${ZORVANE_WEB_PAGE}/manifest.webmanifest
    ${ZORVANE_WEB_ICONS}/icon-192.png ${ZORVANE_WEB_ICONS}/icon-512.png ${ZORVANE_WEB_OUT}
  COMMAND ${CMAKE_COMMAND} -DPAGE=${ZORVANE_WEB_OUT} -DWORKER=${ZORVANE_WEB_PAGE}/sw.js
    -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/web_worker.cmake)
set_property(TARGET zorvane APPEND PROPERTY LINK_DEPENDS ${ZORVANE_WEB_PAGE}/zorvane.html
  ${ZORVANE_WEB_PAGE}/sw.js ${ZORVANE_WEB_PAGE}/manifest.webmanifest)
