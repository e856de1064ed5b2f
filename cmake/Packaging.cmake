# Installation and the Debian package: the editor, the checker, the desktop entry and the icon.
#   cmake --install build --prefix /usr/local
#   cpack --config build/CPackConfig.cmake        (writes monster-db-editor_<version>_<arch>.deb)
include(GNUInstallDirs)

install(TARGETS monster-db-editor monster-db-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/monster-db-editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/monster-db-editor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/resources/monster-db-editor.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
# AppStream: the component ID is reverse-DNS as the format wants; the desktop entry keeps the
# program's name, which the running editor reports as its desktop file name
set(MDB_METAINFO invalid.monster_db_editor.editor.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/resources/${MDB_METAINFO}.in
               ${CMAKE_BINARY_DIR}/doc/${MDB_METAINFO} @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/doc/${MDB_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The Debian revision of the package; the changelog's newest entry names the same version.
set(MDB_DEBIAN_VERSION "${PROJECT_VERSION}-1")

# Manual pages (Japanese, and English for other locales) and the package's changelog go
# compressed, as Debian wants them: gzip -9 without a name or time stamp, so that the same
# sources give the same bytes.
set(MDB_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
set(MDB_COMPRESSED)
foreach(page monster-db-editor.1 monster-db-check.1)
  configure_file(${PROJECT_SOURCE_DIR}/resources/man/ja/${page}.in ${MDB_DOC_DIR}/ja/${page} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.in ${MDB_DOC_DIR}/${page} @ONLY)
  list(APPEND MDB_COMPRESSED ja/${page} ${page})
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
               ${MDB_DOC_DIR}/changelog.Debian @ONLY)
list(APPEND MDB_COMPRESSED changelog.Debian)
set(MDB_COMPRESSED_FILES)
foreach(name ${MDB_COMPRESSED})
  add_custom_command(OUTPUT ${MDB_DOC_DIR}/${name}.gz
      COMMAND gzip -9 -n -f -k ${MDB_DOC_DIR}/${name}
      DEPENDS ${MDB_DOC_DIR}/${name}
      WORKING_DIRECTORY ${MDB_DOC_DIR})
  list(APPEND MDB_COMPRESSED_FILES ${MDB_DOC_DIR}/${name}.gz)
endforeach()
add_custom_target(compressed-docs ALL DEPENDS ${MDB_COMPRESSED_FILES})
install(FILES ${MDB_DOC_DIR}/ja/monster-db-editor.1.gz ${MDB_DOC_DIR}/ja/monster-db-check.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
install(FILES ${MDB_DOC_DIR}/monster-db-editor.1.gz ${MDB_DOC_DIR}/monster-db-check.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MDB_DOC_DIR}/changelog.Debian.gz ${PROJECT_SOURCE_DIR}/resources/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME monster-db-editor)
set(CPACK_PACKAGE_VENDOR "monster-db-editor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Editor of a game server's monster database (Japanese interface)")
# lines of at most 80 columns, as Debian's tools show them
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop editor, with a Japanese user interface, for the monster database\n\
of a game server: comma-separated text files in code page 932.\n\
Includes monster-db-check, which tells where a database file is damaged\n\
and which references between the files point nowhere.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "monster-db-editor developers <maintainers@monster-db-editor.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
# The Qt libraries are found by dpkg-shlibdeps; what it cannot see: a Japanese font for the
# interface and Qt's own Japanese texts for the buttons of standard dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n")
include(CPack)
