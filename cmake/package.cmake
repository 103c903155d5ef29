# Debian packages: `cpack -G DEB` in the build folder writes one package per
# install component, under /usr:
#   zentrova_<version>_amd64.deb          the window program (component program)
#   zentrova-sim_<version>_amd64.deb      the simulator (simulator)
#   python3-zentrova_<version>_amd64.deb  the Python module (python)
# Library dependencies are computed by dpkg-shlibdeps, so zentrova-sim
# depends on Qt's GUI library (for render) and on no widgets or charts.
include(GNUInstallDirs)

# The one place that names who maintains the packages (Maintainer field and
# changelog). The default is a placeholder for the project's owner to replace.
set(ZENTROVA_MAINTAINER "Zentrova maintainers <maintainers@zentrova.example.org>" CACHE STRING
  "Maintainer of the Debian packages, as \"Name <address>\"")
# The Debian revision of this build of the upstream version.
set(ZENTROVA_DEBIAN_REVISION 1 CACHE STRING "Debian revision of the packages")
set(ZENTROVA_DEB_VERSION ${PROJECT_VERSION}-${ZENTROVA_DEBIAN_REVISION})

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program simulator)
if(ZENTROVA_BUILD_PYTHON)
  list(APPEND CPACK_COMPONENTS_ALL python)
endif()
set(CPACK_PACKAGE_NAME zentrova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ZENTROVA_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZENTROVA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SOURCE zentrova)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Each package's description is its synopsis, then paragraphs of plain text
# (CPack indents them; a blank line separates paragraphs).
set(CPACK_DEBIAN_PACKAGE_SECTION science)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME zentrova)
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "explorer for a system of 60 interacting particles
Zentrova runs the motion of 60 particles, called taons or gravons, in three
groups under a fixed force law, shows it in a 3-D view that is turned, zoomed
and panned with the mouse, measures it in a monitor, and lists, edits, loads
and saves particle sets as .lis1 files with a commentary beside each.

This package holds the window program in English, Polish and Russian,
its manuals in the same languages, example sets, a desktop entry and
AppStream data. The headless simulator is in zentrova-sim, the Python module
in python3-zentrova.")
# Qt's own translations give the file dialogs and the buttons of the message
# boxes the window's language.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "zentrova-sim (= ${ZENTROVA_DEB_VERSION}), qt6-translations-l10n")
# The window's fonts; the program falls back to others without them.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-urw-base35")

set(CPACK_DEBIAN_SIMULATOR_PACKAGE_NAME zentrova-sim)
set(CPACK_DEBIAN_SIMULATOR_DESCRIPTION "headless simulator of Zentrova's 60-particle system
zentrova-sim runs the force law and the integration step of Zentrova without a
window: it prints the forces of a particle set, runs a set for a number of
steps and writes the result, a CSV trajectory and a JSON summary, prints the
measures of a run as CSV, and draws a set as a PNG picture without a display.

It is meant for parameter sweeps on compute nodes, alone, with GNU parallel
or in a Slurm job array, and needs none of the window program's libraries.")
# The face of the particle numbers in render's pictures.
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_RECOMMENDS "fonts-dejavu-core")
# Until 1.0.0 one package named zentrova held the simulator and the module.
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_BREAKS "zentrova (<< ${ZENTROVA_DEB_VERSION})")
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_REPLACES "zentrova (<< ${ZENTROVA_DEB_VERSION})")

set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-zentrova)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_DESCRIPTION "Python 3 module for Zentrova's 60-particle system
The module zentrova loads and saves Zentrova's .lis1 particle sets bit for
bit and computes their forces, steps and measures with the same code as the
program and zentrova-sim, on 80-bit reals held in numpy.longdouble arrays.")
# Set by python/ when the module is built; dpkg-shlibdeps adds the libraries.
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "${ZENTROVA_PYTHON_DEPENDS}")
set(CPACK_DEBIAN_PYTHON_PACKAGE_BREAKS "zentrova (<< ${ZENTROVA_DEB_VERSION})")
set(CPACK_DEBIAN_PYTHON_PACKAGE_REPLACES "zentrova (<< ${ZENTROVA_DEB_VERSION})")
include(CPack)

# Every package carries the copyright file and the changelog in
# share/doc/<package>, and the lintian tags it accepts, each with its reason,
# in share/lintian/overrides/<package>. Only the packages install them
# (EXCLUDE_FROM_ALL): a plain `cmake --install` has no use for them.
configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog.Debian @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
  COMMAND ${GZIP_PROGRAM} -9n -c ${CMAKE_BINARY_DIR}/debian/changelog.Debian > ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian
  COMMENT "Compressing the Debian changelog")
add_custom_target(zentrova_debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
foreach(_component program simulator python)
  string(TOUPPER ${_component} _upper)
  set(_doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${_upper}_PACKAGE_NAME})
  install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
    DESTINATION ${_doc} COMPONENT ${_component} EXCLUDE_FROM_ALL)
  install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${CPACK_DEBIAN_${_upper}_PACKAGE_NAME}
    COMPONENT ${_component} EXCLUDE_FROM_ALL)
endforeach()
