# Install rules and CPack settings for both builds: the Linux build installs the command line
# and its man page and packs them as a Debian package; the Windows build installs both
# programs and the README and packs them as a zip. `cmake --install` and CPack strip the
# programs (the build keeps its debug information for the debugger and the benchmarks).
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME quenlor)
set(CPACK_PACKAGE_VENDOR "Quenlor")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "COM type library importer for Pascal")
set(CPACK_PACKAGE_CONTACT "Quenlor developers <quenlor@localhost>")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_SOURCE_DIR}/build/dist)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/cpack)

if(WIN32)
  install(TARGETS quenlor RUNTIME DESTINATION .)
  install(TARGETS Quenlor RUNTIME DESTINATION .)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGE_FILE_NAME quenlor-${PROJECT_VERSION}-win64)
else()
  install(TARGETS quenlor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Debian keeps man pages compressed, without a time stamp inside.
  set(man_gz ${CMAKE_BINARY_DIR}/man/quenlor.1.gz)
  add_custom_command(OUTPUT ${man_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/src/app/cli/quenlor.1 > ${man_gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/src/app/cli/quenlor.1 VERBATIM)
  add_custom_target(quenlor_man ALL DEPENDS ${man_gz})
  install(FILES ${man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quenlor)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine64, fpc")
  set(CPACK_PACKAGE_DESCRIPTION
      "Lists the COM type libraries registered in a Wine prefix, reads one (a .tlb file or a TYPELIB resource of a .dll, .ocx, .olb or .exe) with a reader of its own, describes it as XML and generates its Pascal import unit.")
  set(CPACK_PACKAGE_FILE_NAME quenlor_${PROJECT_VERSION}_amd64)
endif()
include(CPack)
