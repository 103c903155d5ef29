include(GNUInstallDirs)
install(TARGETS zentrova zentrova-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
