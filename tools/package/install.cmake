# tools/package/install.cmake - what `cmake --install` puts where, and the Debian package.
# Included from the root CMakeLists.txt after the executable and the content rules.
include(GNUInstallDirs)

set(ORBPLUME_MANPAGE ${ORBPLUME_GENERATED_DIR}/orbplume.6)
add_custom_command(
  OUTPUT ${ORBPLUME_MANPAGE}.gz
  COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:orbplume> -DOUT=${ORBPLUME_MANPAGE}
          -P ${CMAKE_CURRENT_LIST_DIR}/manpage.cmake
  COMMAND gzip -9nf ${ORBPLUME_MANPAGE}
  DEPENDS orbplume ${CMAKE_CURRENT_LIST_DIR}/manpage.cmake
  COMMENT "manual page from orbplume --help"
  VERBATIM)
add_custom_target(manpage ALL DEPENDS ${ORBPLUME_MANPAGE}.gz)
configure_file(${CMAKE_CURRENT_LIST_DIR}/orbplume.desktop.in ${ORBPLUME_GENERATED_DIR}/orbplume.desktop COPYONLY)

install(TARGETS orbplume RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(ORBPLUME_SHOW_DATA ${ORBPLUME_DATA_FILES})
list(FILTER ORBPLUME_SHOW_DATA INCLUDE REGEX "^${ORBPLUME_DATA_DIR}/")
install(FILES ${ORBPLUME_SHOW_DATA} DESTINATION ${CMAKE_INSTALL_DATADIR}/orbplume/data)
install(FILES ${ORBPLUME_GENERATED_DIR}/orbplume.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORBPLUME_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${ORBPLUME_MANPAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_PACKAGE_NAME orbplume)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_CONTACT "orbplume developers <orbplume@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music-synchronised real-time 3D show")
set(CPACK_PACKAGE_DESCRIPTION "After a small start-up dialog, orbplume plays about ten minutes of animated OpenGL scenes in step with its own generated soundtrack.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
