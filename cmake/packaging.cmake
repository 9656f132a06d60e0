# What `cmake --install` puts in place: the programs, a man page for each, the
# reference of the file formats and messages that the man pages name
# (share/doc/tralk/formats.md), and the CMake package that find_package(tralk)
# reads; and the Debian package of all of it that `cpack -G DEB` makes.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The companions are installed where this build made them.
set(TRALK_PROGRAMS tralk tralk-pack)
foreach(companion tralk-inspect tralk-import)
  if(TARGET ${companion})
    list(APPEND TRALK_PROGRAMS ${companion})
  endif()
endforeach()
install(TARGETS ${TRALK_PROGRAMS} EXPORT tralkTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(program IN LISTS TRALK_PROGRAMS)
  install(FILES ${PROJECT_SOURCE_DIR}/man/${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/docs/formats.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(TRALK_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/tralk)
install(EXPORT tralkTargets NAMESPACE tralk:: DESTINATION ${TRALK_PACKAGE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/tralkConfig.cmake.in
  ${PROJECT_BINARY_DIR}/tralkConfig.cmake INSTALL_DESTINATION ${TRALK_PACKAGE_DIR})
# The programs run on the build host whatever the user project compiles for
# (firmware is cross-compiled): the package fits any target architecture.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/tralkConfigVersion.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES
  ${PROJECT_BINARY_DIR}/tralkConfig.cmake
  ${PROJECT_BINARY_DIR}/tralkConfigVersion.cmake
  ${PROJECT_SOURCE_DIR}/cmake/TralkAddImage.cmake
  ${PROJECT_SOURCE_DIR}/cmake/TralkImport.cmake
  ${PROJECT_SOURCE_DIR}/cmake/TralkAddChip.cmake
  DESTINATION ${TRALK_PACKAGE_DIR})

# The Debian package. Its dependencies (libpng for the inspector and the
# importer, FreeType for the importer, the C++ runtime) are read from the
# programs by dpkg-shlibdeps.
set(TRALK_PACKAGE_CONTACT "tralk developers <tralk@invalid>"
  CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_NAME tralk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TRALK_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "virtual font images for embedded graphic displays")
set(CPACK_PACKAGE_DESCRIPTION
  "tralk turns symbol fonts and BMP pictures into an image for a storage chip and the C "
  "structures that locate its fonts; tralk-pack lays several images out in one chip (with "
  "its header, Intel HEX and S-record files); tralk-inspect reads an image or a chip back. "
  "Includes a CMake package: find_package(tralk), tralk_add_image() and tralk_add_chip().")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cmake (>= 3.20)")
include(CPack)
