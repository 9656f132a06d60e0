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
install(FILES ${PROJECT_SOURCE_DIR}/docs/formats.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The documents that Debian asks every package for: the man pages and the
# changelog gzipped (gzip -9n: no name and no time inside, so the same bytes
# every build), and the copyright file. Every install gets them so, where
# gzip is found; man reads gzipped pages.
set(TRALK_PACKAGE_CONTACT "tralk developers <tralk@tralk.invalid>"
  CACHE STRING "Maintainer field of the Debian package")
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/doc/changelog
  @ONLY)
set(TRALK_MAN_PAGES "")
foreach(program IN LISTS TRALK_PROGRAMS)
  list(APPEND TRALK_MAN_PAGES ${PROJECT_SOURCE_DIR}/man/${program}.1)
endforeach()
find_program(TRALK_GZIP gzip)
if(TRALK_GZIP)
  set(TRALK_GZIPPED "")
  foreach(file IN LISTS TRALK_MAN_PAGES ITEMS ${PROJECT_BINARY_DIR}/doc/changelog)
    cmake_path(GET file FILENAME name)
    set(gzipped ${PROJECT_BINARY_DIR}/doc/gzipped/${name}.gz)
    add_custom_command(OUTPUT ${gzipped}
      COMMAND ${CMAKE_COMMAND} -E copy ${file} ${PROJECT_BINARY_DIR}/doc/gzipped/${name}
      COMMAND ${TRALK_GZIP} -9nf ${PROJECT_BINARY_DIR}/doc/gzipped/${name}
      DEPENDS ${file}
      VERBATIM)
    list(APPEND TRALK_GZIPPED ${gzipped})
  endforeach()
  add_custom_target(tralk_gzipped_docs ALL DEPENDS ${TRALK_GZIPPED})
  list(POP_BACK TRALK_GZIPPED TRALK_CHANGELOG)
  install(FILES ${TRALK_GZIPPED} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  set(TRALK_CHANGELOG ${PROJECT_BINARY_DIR}/doc/changelog)
  install(FILES ${TRALK_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${TRALK_CHANGELOG} ${PROJECT_SOURCE_DIR}/cmake/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

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
set(CPACK_PACKAGE_NAME tralk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TRALK_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "virtual font images for embedded graphic displays")
# The description in lines of at most 80 characters, sentences that say
# what this build holds.
set(TRALK_DESCRIPTION
  "tralk turns symbol fonts, BMP pictures and palettes into the image of a"
  "storage chip, from which an embedded graphic display library reads its"
  "fonts, and into the C structures that locate the fonts in it. tralk-pack"
  "lays several images out in one chip, with its header, Intel HEX and"
  "S-record files.")
if(TARGET tralk-import)
  list(APPEND TRALK_DESCRIPTION
    "tralk-import makes symbol fonts of TrueType, OpenType, BDF, PCF and console"
    "fonts, and BMP pictures of PNG pictures.")
endif()
if(TARGET tralk-inspect)
  list(APPEND TRALK_DESCRIPTION
    "tralk-inspect lists, checks and draws what an image or a chip holds.")
endif()
list(APPEND TRALK_DESCRIPTION
  "The CMake package, find_package(tralk), makes the images and chips in a"
  "firmware's build.")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION ${TRALK_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cmake (>= 3.20)")
include(CPack)
