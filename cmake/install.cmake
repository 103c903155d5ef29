# Manuals next to the program in the build tree, and the installed layout:
#   bin/zentrova, bin/zentrova-sim
#   share/zentrova/help/HlpArt{En,Ru,Pl}.hlp
#   share/zentrova/examples/*.lis1, *.txt
#   share/applications/zentrova.desktop
#   share/icons/hicolor/{32x32,64x64,128x128,scalable}/apps/zentrova.{png,svg}
#   share/metainfo/org.zentrova.Zentrova.metainfo.xml
#   share/man/man1/zentrova.1.gz, zentrova-sim.1.gz (cmake/manpages.cmake)
#   the Python module in lib/python3*/dist-packages (python/CMakeLists.txt)
# Each file belongs to one component, which becomes one Debian package
# (cmake/package.cmake): program (zentrova), simulator (zentrova-sim) and
# python (python3-zentrova).
include(GNUInstallDirs)

set(ZENTROVA_HELP_FILES HlpArtEn.hlp HlpArtRu.hlp HlpArtPl.hlp)

# The program looks for its manuals in its own folder first, so ./zentrova in
# the build tree finds them without installing.
set(_zentrova_help_copies)
foreach(_help ${ZENTROVA_HELP_FILES})
  set(_from ${CMAKE_SOURCE_DIR}/help/${_help})
  set(_to ${CMAKE_BINARY_DIR}/${_help})
  add_custom_command(OUTPUT ${_to}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_from} ${_to}
    DEPENDS ${_from}
    COMMENT "Copying ${_help} next to the program")
  list(APPEND _zentrova_help_copies ${_to})
endforeach()
add_custom_target(zentrova_help ALL DEPENDS ${_zentrova_help_copies})
add_dependencies(zentrova zentrova_help)

install(TARGETS zentrova RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(TARGETS zentrova-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT simulator)

list(TRANSFORM ZENTROVA_HELP_FILES PREPEND ${CMAKE_SOURCE_DIR}/help/ OUTPUT_VARIABLE _help_sources)
install(FILES ${_help_sources} DESTINATION ${CMAKE_INSTALL_DATADIR}/zentrova/help COMPONENT program)

# Whatever example sets and their commentaries are present at install time
# (looked for when installing, so sets added later need no new configure).
install(CODE "
  file(GLOB _zentrova_examples \"${CMAKE_SOURCE_DIR}/examples/*.lis1\" \"${CMAKE_SOURCE_DIR}/examples/*.txt\")
  if(_zentrova_examples)
    file(INSTALL \${_zentrova_examples}
      DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/zentrova/examples\")
  endif()
" COMPONENT program)

install(FILES ${CMAKE_SOURCE_DIR}/data/zentrova.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  COMPONENT program)
foreach(_size 32 64 128)
  install(FILES ${CMAKE_SOURCE_DIR}/data/zentrova-${_size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps RENAME zentrova.png
    COMPONENT program)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/data/zentrova.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  COMPONENT program)

# AppStream data, named after its component id.
install(FILES ${CMAKE_SOURCE_DIR}/data/zentrova.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME org.zentrova.Zentrova.metainfo.xml
  COMPONENT program)
