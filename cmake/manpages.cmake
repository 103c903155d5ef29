# Manual pages: written in roff in man/, compressed at build time (as Debian
# installs them) and installed into share/man/man1 with their program.
#   man -l man/zentrova-sim.1   reads one from the source tree.
include(GNUInstallDirs)
find_program(GZIP_PROGRAM gzip REQUIRED)

set(_zentrova_man_pages)
foreach(_page zentrova zentrova-sim)
  set(_from ${CMAKE_SOURCE_DIR}/man/${_page}.1)
  set(_to ${CMAKE_BINARY_DIR}/man/${_page}.1.gz)
  # -n: no name or time stamp in the archive, so builds are reproducible.
  add_custom_command(OUTPUT ${_to}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP_PROGRAM} -9n -c ${_from} > ${_to}
    DEPENDS ${_from}
    COMMENT "Compressing the manual page ${_page}(1)")
  list(APPEND _zentrova_man_pages ${_to})
endforeach()
add_custom_target(zentrova_man_pages ALL DEPENDS ${_zentrova_man_pages})

install(FILES ${CMAKE_BINARY_DIR}/man/zentrova.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
install(FILES ${CMAKE_BINARY_DIR}/man/zentrova-sim.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT simulator)
