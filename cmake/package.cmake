# The Debian package: `cpack -G DEB` in the build folder writes
# zentrova_<version>_amd64.deb with everything `cmake --install` puts in
# place, under /usr. Library dependencies are computed by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zentrova developers <zentrova@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "explorer for a system of 60 interacting particles")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "explorer for a system of 60 interacting particles
 Zentrova runs the motion of 60 particles (taons or gravons) in three groups
 under a fixed force law, shows it in a 3-D view, and lists, edits, loads and
 saves particle sets as .lis1 files.
 .
 The package holds the program, the headless simulator zentrova-sim, the
 manuals, example sets and the Python module zentrova.")
# The window's fonts; the program falls back to others without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-urw-base35")
# Set by python/ when the module is built; dpkg-shlibdeps adds the libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ZENTROVA_PYTHON_DEPENDS}")
include(CPack)

# Builds the package from this build and checks what it installs. A package
# of the sanitizer build would be of no use to anyone.
if(NOT ZENTROVA_SANITIZE)
  add_test(NAME DebianPackage
    COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check_package.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(DebianPackage PROPERTIES LABELS package)
endif()
