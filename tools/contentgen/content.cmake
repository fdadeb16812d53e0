# tools/contentgen/content.cmake - the content generator and the build steps that run it.
# Included from the root CMakeLists.txt (root scope). Outputs: the embedded mesh tables
# (compiled into the engine) and the 28 JPEG pictures in the data folder.
add_executable(contentgen
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mesh.cpp
  ${CMAKE_CURRENT_LIST_DIR}/meshes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mesh_recipe_shapes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cave_meshes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lattice_meshes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/body_meshes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/machine_meshes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/prop_meshes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sculpture_meshes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/small_part_meshes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/room_meshes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/texture_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sphere_map_textures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sprite_textures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_textures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tile_textures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/icon.cpp)
target_link_libraries(contentgen PRIVATE JPEG::JPEG PkgConfig::PNG PkgConfig::FREETYPE PkgConfig::FONTCONFIG)
# The generator's output must not depend on the build type: always optimised, never fast-math.
target_compile_options(contentgen PRIVATE -O2 -fno-fast-math)

set(CONTENTGEN_MESH_SOURCE ${ORBPLUME_GENERATED_DIR}/embedded_meshes.cpp)
set(CONTENTGEN_MESH_BLOB ${ORBPLUME_GENERATED_DIR}/embedded_meshes.bin)
add_custom_command(
  OUTPUT ${CONTENTGEN_MESH_SOURCE} ${CONTENTGEN_MESH_BLOB}
  COMMAND contentgen meshes ${ORBPLUME_GENERATED_DIR}
  DEPENDS contentgen
  COMMENT "contentgen: embedded meshes"
  VERBATIM)
set_source_files_properties(${CONTENTGEN_MESH_SOURCE} PROPERTIES GENERATED TRUE OBJECT_DEPENDS ${CONTENTGEN_MESH_BLOB})
list(APPEND ORBPLUME_GENERATED_SOURCES ${CONTENTGEN_MESH_SOURCE})

set(CONTENTGEN_TEXTURES
  loading shakki skyr1 metal electri2 electric envi6b flare1 flare3 flare4 red6envi smoketex irid
  bubble vesi4 atxt ltxt twirl crackle hex2 valo hexred flarer flareb flarey flareg metal2 aijjai)
set(CONTENTGEN_JPEGS "")
foreach(name ${CONTENTGEN_TEXTURES})
  list(APPEND CONTENTGEN_JPEGS ${ORBPLUME_DATA_DIR}/${name}.jpg)
endforeach()
add_custom_command(
  OUTPUT ${CONTENTGEN_JPEGS}
  COMMAND contentgen textures ${ORBPLUME_DATA_DIR}
  DEPENDS contentgen
  COMMENT "contentgen: textures"
  VERBATIM)
list(APPEND ORBPLUME_DATA_FILES ${CONTENTGEN_JPEGS})

# The desktop icon, made from the same look; installed, not loaded by the show.
set(ORBPLUME_ICON ${ORBPLUME_GENERATED_DIR}/orbplume.png)
add_custom_command(
  OUTPUT ${ORBPLUME_ICON}
  COMMAND contentgen icon ${ORBPLUME_ICON}
  DEPENDS contentgen
  COMMENT "contentgen: icon"
  VERBATIM)
list(APPEND ORBPLUME_DATA_FILES ${ORBPLUME_ICON})
