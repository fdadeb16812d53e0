# web/web.cmake - the browser build (emcc): the engine, the show and the precalc compiled to
# WebAssembly, drawn through WebGL. Included by the root CMakeLists.txt instead of the native
# build when the toolchain is Emscripten's (scripts/web configures it).
#
# The web build reuses what the native build generated: the embedded mesh tables and the data
# folder (pictures, track) of ORBPLUME_NATIVE_BUILD, so the generators never run under emcc.
# Native-only pieces are left out and replaced by the files of web/: the SDL2 window and GL
# context, message boxes, the FTGL font, the SDL2 audio player, libvorbisfile, libjpeg, KISS FFT.
set(ORBPLUME_NATIVE_BUILD "${CMAKE_SOURCE_DIR}/build" CACHE PATH "native build folder holding generated/ and data/")
set(NATIVE_GENERATED ${ORBPLUME_NATIVE_BUILD}/generated)
set(NATIVE_DATA ${ORBPLUME_NATIVE_BUILD}/data)
if(NOT EXISTS ${NATIVE_GENERATED}/embedded_meshes.cpp OR NOT EXISTS ${NATIVE_DATA}/loading.jpg)
  message(FATAL_ERROR "web build: run the native build first (scripts/setup): "
                      "${NATIVE_GENERATED}/embedded_meshes.cpp and ${NATIVE_DATA}/ are needed")
endif()

# Debian's header-only decoders and the KISS FFT interface, seen through a folder of their
# own so that no other native header reaches emcc.
set(WEB_INCLUDE ${CMAKE_BINARY_DIR}/include)
file(MAKE_DIRECTORY ${WEB_INCLUDE})
foreach(lib stb kissfft)
  if(NOT EXISTS ${WEB_INCLUDE}/${lib})
    file(CREATE_LINK /usr/include/${lib} ${WEB_INCLUDE}/${lib} SYMBOLIC)
  endif()
endforeach()

# The mesh tables without the assembler's .incbin (not available for WebAssembly): the blob
# is packed with the data and read into memory before the precalc (web/mesh_blob_web.cpp).
file(READ ${NATIVE_GENERATED}/embedded_meshes.cpp mesh_tables)
string(REGEX REPLACE "asm\\([^\n]*\n" "" mesh_tables "${mesh_tables}")
string(REPLACE "extern \"C\" const char orbplume_mesh_blob[];" "extern \"C\" char orbplume_mesh_blob[];"
       mesh_tables "${mesh_tables}")
file(WRITE ${CMAKE_BINARY_DIR}/generated/embedded_meshes.cpp.new "${mesh_tables}")
file(COPY_FILE ${CMAKE_BINARY_DIR}/generated/embedded_meshes.cpp.new ${CMAKE_BINARY_DIR}/generated/embedded_meshes.cpp
     ONLY_IF_DIFFERENT)
file(SIZE ${NATIVE_GENERATED}/embedded_meshes.bin MESH_BLOB_SIZE)

set(WEB_DIRS render geometry post show precalc data)
set(WEB_SOURCES "")
foreach(dir ${WEB_DIRS})
  file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(APPEND WEB_SOURCES ${dir_sources})
endforeach()
list(APPEND WEB_SOURCES
  ${CMAKE_SOURCE_DIR}/platform/data_folder.cpp
  ${CMAKE_SOURCE_DIR}/platform/gl_caps.cpp
  ${CMAKE_SOURCE_DIR}/platform/options.cpp
  ${CMAKE_SOURCE_DIR}/platform/settings.cpp
  ${CMAKE_SOURCE_DIR}/audio/music.cpp
  ${CMAKE_SOURCE_DIR}/audio/offline_music.cpp
  ${CMAKE_SOURCE_DIR}/audio/sound_errors.cpp
  ${CMAKE_SOURCE_DIR}/audio/spectrum.cpp
  ${CMAKE_BINARY_DIR}/generated/embedded_meshes.cpp)
file(GLOB web_own CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/*.cpp)
list(APPEND WEB_SOURCES ${web_own})

add_executable(orbplume ${WEB_SOURCES})
target_include_directories(orbplume PRIVATE ${CMAKE_SOURCE_DIR} ${WEB_INCLUDE})
target_compile_definitions(orbplume PRIVATE ORBPLUME_MESH_BLOB_SIZE=${MESH_BLOB_SIZE})
# Every engine file sees the GL calls through the small layer that fills what the browser's
# GL 1.x emulation lacks (web/gl_layer.h).
target_compile_options(orbplume PRIVATE -include ${CMAKE_SOURCE_DIR}/web/gl_layer.h -O2)
set_source_files_properties(${CMAKE_SOURCE_DIR}/web/stb_decoders.cpp PROPERTIES COMPILE_OPTIONS "-w")
# The layer's own calls reach the emulation underneath.
set_source_files_properties(${CMAKE_SOURCE_DIR}/web/gl_layer_state.cpp ${CMAKE_SOURCE_DIR}/web/gl_layer_draw.cpp
                            PROPERTIES COMPILE_DEFINITIONS WEB_GL_LAYER_ITSELF)

# One folder of static files: index.html, orbplume.js, orbplume.wasm and orbplume.data (the
# pictures, the track and the mesh blob, packed).
set(WEB_OUT ${CMAKE_BINARY_DIR})
set_target_properties(orbplume PROPERTIES OUTPUT_NAME orbplume SUFFIX ".js")
target_link_options(orbplume PRIVATE
  -O2 -sLEGACY_GL_EMULATION=1 -sMAX_WEBGL_VERSION=1 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=134217728
  -sGL_MAX_TEMP_BUFFER_SIZE=4194304 -sEXIT_RUNTIME=0
  -sEXPORTED_FUNCTIONS=_main,_orbplume_start,_orbplume_show_time,_orbplume_set_loop,_orbplume_set_gentle
  -sEXPORTED_RUNTIME_METHODS=ccall
  "SHELL:--preload-file ${NATIVE_DATA}@/data"
  "SHELL:--preload-file ${NATIVE_GENERATED}/embedded_meshes.bin@/generated/embedded_meshes.bin")
add_custom_command(TARGET orbplume POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/web/index.html ${WEB_OUT}/index.html
  VERBATIM)
