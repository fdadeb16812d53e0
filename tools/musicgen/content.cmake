# The soundtrack: musicgen renders the score and encodes data/vlux_q2_final.ogg at build time.
# The track regenerates only when the generator changes. Floating-point contraction is off so
# that every compiler and machine produces the same samples, hence the same file.
file(GLOB MUSICGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(REMOVE_ITEM MUSICGEN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/main.cpp)

add_library(musicgen_lib STATIC ${MUSICGEN_SOURCES})
target_include_directories(musicgen_lib PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(musicgen_lib PRIVATE -O2 -ffp-contract=off)
target_link_libraries(musicgen_lib PUBLIC PkgConfig::VORBIS PkgConfig::KISSFFT)

add_executable(musicgen ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_compile_options(musicgen PRIVATE -O2 -ffp-contract=off)
target_link_libraries(musicgen PRIVATE musicgen_lib)

# -DORBPLUME_MUSIC_FROM=FILE takes an already generated track instead (the sanitizer build
# borrows the normal build's: the same bytes, minutes sooner).
set(ORBPLUME_MUSIC_FROM "" CACHE FILEPATH "Copy this generated track instead of running musicgen")
set(MUSICGEN_OUTPUT ${ORBPLUME_DATA_DIR}/vlux_q2_final.ogg)
if(ORBPLUME_MUSIC_FROM)
  add_custom_command(
    OUTPUT ${MUSICGEN_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E copy ${ORBPLUME_MUSIC_FROM} ${MUSICGEN_OUTPUT}
    DEPENDS ${ORBPLUME_MUSIC_FROM}
    COMMENT "Copying the soundtrack from ${ORBPLUME_MUSIC_FROM}"
    VERBATIM)
else()
  add_custom_command(
    OUTPUT ${MUSICGEN_OUTPUT}
    COMMAND musicgen ${MUSICGEN_OUTPUT}
    DEPENDS musicgen
    COMMENT "Generating the soundtrack ${MUSICGEN_OUTPUT}"
    VERBATIM)
endif()
list(APPEND ORBPLUME_DATA_FILES ${MUSICGEN_OUTPUT})
