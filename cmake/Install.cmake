# `cmake --install` and `cpack -G DEB`: the program in the usual places of a desktop system.
#   bin/quoinry                          the executable
#   lib/quoinry/libquoinry_qt.so         the Qt module it loads
#   lib/quoinry/libquoinry_files.so      the module of documents and workbooks
#   share/quoinry/{pic,image,help}       its read-only files
#   share/applications, share/metainfo, share/icons/hicolor, share/man/man1, share/doc/quoinry
# The engineer's files go to the XDG folders (common/program_dir.h).

set(QUOINRY_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(QUOINRY_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
set(QUOINRY_APP_ID io.github.quoinry.Quoinry)

configure_file(${QUOINRY_PACKAGING}/${QUOINRY_APP_ID}.metainfo.xml.in
               ${QUOINRY_PACKAGING_OUT}/${QUOINRY_APP_ID}.metainfo.xml @ONLY)
configure_file(${QUOINRY_PACKAGING}/quoinry.1.in ${QUOINRY_PACKAGING_OUT}/quoinry.1 @ONLY)
configure_file(${QUOINRY_PACKAGING}/changelog.Debian.in
               ${QUOINRY_PACKAGING_OUT}/changelog.Debian @ONLY)

# Debian wants manual pages and changelogs compressed, without a time stamp in the gzip header.
find_program(GZIP_PROGRAM gzip REQUIRED)
foreach(file quoinry.1 changelog.Debian)
  add_custom_command(
    OUTPUT ${QUOINRY_PACKAGING_OUT}/${file}.gz
    COMMAND ${GZIP_PROGRAM} -9nkf ${QUOINRY_PACKAGING_OUT}/${file}
    DEPENDS ${QUOINRY_PACKAGING_OUT}/${file}
    COMMENT "Compressing ${file}")
  list(APPEND QUOINRY_COMPRESSED ${QUOINRY_PACKAGING_OUT}/${file}.gz)
endforeach()
add_custom_target(quoinry_packaging_files ALL DEPENDS ${QUOINRY_COMPRESSED})

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS quoinry RUNTIME DESTINATION ${QUOINRY_INSTALL_BIN_DIR})
install(TARGETS quoinry_qt quoinry_files LIBRARY DESTINATION ${QUOINRY_INSTALL_MODULE_DIR})
install(DIRECTORY ${QUOINRY_APP_DIR}/pic ${QUOINRY_APP_DIR}/image ${QUOINRY_APP_DIR}/help
        DESTINATION ${QUOINRY_INSTALL_DATA_DIR})
install(FILES ${QUOINRY_PACKAGING}/${QUOINRY_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${QUOINRY_PACKAGING_OUT}/${QUOINRY_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(DIRECTORY ${QUOINRY_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons)
install(FILES ${QUOINRY_PACKAGING_OUT}/quoinry.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QUOINRY_PACKAGING}/copyright ${QUOINRY_PACKAGING_OUT}/changelog.Debian.gz
              ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${QUOINRY_INSTALL_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples DESTINATION ${QUOINRY_INSTALL_DOC_DIR})

# The Debian package. Its dependencies: the shared libraries the program links, found by
# dpkg-shlibdeps, and what it loads or runs by name.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quoinry)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quoinry maintainers <${QUOINRY_MAINTAINER_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quoinry maintainers <${QUOINRY_MAINTAINER_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "structural design of aluminium windows and doors")
# CPack puts the summary first and indents these lines.
set(CPACK_PACKAGE_DESCRIPTION
    "Quoinry computes and checks one window or door position after the Chinese
codes GB50009-2001, JGJ102-2003 and JGJ113-2003: the wind load, the glass
and the frame members, with section properties measured from DXF drawings.
It writes the calculation document as a Word file or a PDF, shows it in a
print preview and prints it. The interface and the reports are in
Simplified Chinese.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SQLite driver is a Qt plug-in; the PDF embeds AR PL UMing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME_DEFAULT_SET ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
