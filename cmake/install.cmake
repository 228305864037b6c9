# Installation and the Debian package. Programs go to bin/; the log-Pearson library and the
# help file go to the folders that calc/install_layout.h names relative to bin/, where the
# programs look when they are not beside them.
set(VANDO_INSTALL_LIBDIR lib/vando3)
set(VANDO_INSTALL_DATADIR share/vando3)

install(TARGETS vando3-cli RUNTIME DESTINATION bin)
install(TARGETS lpiii
        LIBRARY DESTINATION ${VANDO_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${VANDO_INSTALL_LIBDIR})
if(VANDO_BUILD_GUI)
  install(TARGETS vando3 vando3-plot status RUNTIME DESTINATION bin)
  install(FILES ${PROJECT_SOURCE_DIR}/ui/Vando31.html DESTINATION ${VANDO_INSTALL_DATADIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/vando3.desktop DESTINATION share/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/vando3.svg
          DESTINATION share/icons/hicolor/scalable/apps)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/vando3)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vando3)
set(CPACK_PACKAGE_VENDOR "VANDO 3")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "VANDO 3 developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The package's dependencies are read from the programs when the Debian tool for it is
# there (dpkg-dev); without it the package still builds, with no dependency list.
find_program(VANDO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VANDO_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The log-Pearson library is private to the package: the programs load it by path.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
endif()
include(CPack)
