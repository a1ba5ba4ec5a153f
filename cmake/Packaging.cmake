# SPDX-License-Identifier: GPL-3.0-or-later
# The installed layout and the Debian package share these rules. Tavro finds its bank modules in
# banki/ beside its own executable, so the program, its modules and the demo bank stay together
# in one private folder and bin/ holds a relative link to the program.
set(TAVRO_PKGLIBDIR lib/tavro)

install(TARGETS tavro tavro-bank RUNTIME DESTINATION ${TAVRO_PKGLIBDIR})
install(TARGETS ib_tavro LIBRARY DESTINATION ${TAVRO_PKGLIBDIR}/banki)

set(TAVRO_LINK_DIR ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${TAVRO_LINK_DIR})
file(CREATE_LINK ../${TAVRO_PKGLIBDIR}/tavro ${TAVRO_LINK_DIR}/tavro SYMBOLIC)
install(FILES ${TAVRO_LINK_DIR}/tavro DESTINATION ${CMAKE_INSTALL_BINDIR})

# Documents a Debian package must carry: the copyright notice, the change log and a manual page,
# the latter two compressed the way Debian expects (no name or time stamp inside).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(TAVRO_GZIPPED)
foreach(document packaging/changelog packaging/tavro.1)
  get_filename_component(name ${document} NAME)
  set(gzipped ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_SOURCE_DIR}/${document} > ${gzipped}
    DEPENDS ${CMAKE_SOURCE_DIR}/${document})
  list(APPEND TAVRO_GZIPPED ${gzipped})
endforeach()
add_custom_target(tavro_documents ALL DEPENDS ${TAVRO_GZIPPED})
install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavro)
install(FILES ${CMAKE_BINARY_DIR}/packaging/tavro.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tavro developers")
set(CPACK_PACKAGE_CONTACT "The Tavro developers <developers@tavro-history.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tavro-history.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs (buttons, the save dialog, calendars) speak Polish through this package.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# Debian's and Ubuntu's default desktop sessions are Wayland: with Qt's Wayland plugin the program
# runs there as a native client instead of through Xwayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "operation history of Polish internet bank accounts")
# CPack puts the summary first and indents the body; an empty line becomes a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tavro History downloads the operation history of the user's accounts at a
Polish internet bank through bank modules and keeps it in a local SQLite
database, where it can be browsed, searched, filtered, totalled, charted
and exported to XML, OFX and CSV without a connection to the bank.

The package includes the ib_tavro bank module and a simulated bank that
the demo (tavro --demo) runs on this computer.")
include(CPack)
