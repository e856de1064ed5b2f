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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME monster-db-editor)
set(CPACK_PACKAGE_VENDOR "monster-db-editor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Editor of a game server's monster database (Japanese interface)")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop editor, with a Japanese user interface, for the monster database of a game\n\
server: comma-separated text files in code page 932. Includes monster-db-check, which tells\n\
where a database file is damaged.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "monster-db-editor developers <maintainers@monster-db-editor.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
# The Qt libraries are found by dpkg-shlibdeps; what it cannot see: a Japanese font for the
# interface and Qt's own Japanese texts for the buttons of standard dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n")
include(CPack)
