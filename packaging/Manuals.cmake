# The manual pages kelvane(1) and kelvane-cli(1), with the version filled in
# and compressed as Debian installs them.
find_program(KELVANE_GZIP gzip REQUIRED)
foreach(page kelvane kelvane-cli)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${page}.1 ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.1.gz
    COMMAND ${KELVANE_GZIP} -9nkf ${PROJECT_BINARY_DIR}/man/${page}.1
    DEPENDS ${PROJECT_BINARY_DIR}/man/${page}.1 VERBATIM)
  list(APPEND KELVANE_MANUALS ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
endforeach()
add_custom_target(manuals ALL DEPENDS ${KELVANE_MANUALS})
install(FILES ${KELVANE_MANUALS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
