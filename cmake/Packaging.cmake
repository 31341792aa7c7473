# Installs Tessaro as a desktop application and describes its Debian package.
#   cmake --install <build> --prefix <dir>     program, launcher, icons, card file type,
#                                              software-centre data, manual page, documents
#   cpack -G DEB (in <build>)                  tessaro_<version>_<arch>.deb
# The resources are compiled into the program, so it is the only binary.

include(GNUInstallDirs)

set(TESSARO_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)
set(TESSARO_DOC_DIR ${PROJECT_SOURCE_DIR}/doc)
# Debian's documentation folder is named after the package.
set(TESSARO_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tessaro)

install(TARGETS tessaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TESSARO_DESKTOP_DIR}/tessaro.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# shared-mime-info names a package's file after the package.
install(FILES ${TESSARO_DESKTOP_DIR}/tessaro-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tessaro.xml)
install(DIRECTORY ${TESSARO_DESKTOP_DIR}/icons/hicolor
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${TESSARO_DESKTOP_DIR}/org.example.tessaro.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page and the changelog go compressed, without a time stamp in
# the gzip header, so the same sources give the same package.
configure_file(${TESSARO_DOC_DIR}/tessaro.1.in ${CMAKE_BINARY_DIR}/doc/tessaro.1 @ONLY)
set(TESSARO_COMPRESSED ${CMAKE_BINARY_DIR}/doc/tessaro.1.gz ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${TESSARO_COMPRESSED}
  COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/doc/tessaro.1 > ${CMAKE_BINARY_DIR}/doc/tessaro.1.gz
  COMMAND gzip -9n -c ${TESSARO_DOC_DIR}/changelog > ${CMAKE_BINARY_DIR}/doc/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/doc/tessaro.1 ${TESSARO_DOC_DIR}/changelog
  VERBATIM)
add_custom_target(tessaro_docs ALL DEPENDS ${TESSARO_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/doc/tessaro.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TESSARO_DOC_DIR}/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
  DESTINATION ${TESSARO_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME tessaro)
set(CPACK_PACKAGE_VENDOR Ornak)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Design and print business cards on pre-perforated card sheets")
set(CPACK_PACKAGE_DESCRIPTION
  "A wizard for standard and folding business cards, one- or two-sided, with\nfifteen layouts, ten languages, logos and a per-printer print calibration.")
set(CPACK_PACKAGE_CONTACT "Ornak <tessaro@ornak.invalid>" CACHE STRING
  "Maintainer of the Debian package")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Loaded at run time, so no library scan finds them: the X11 platform plugin,
# the TIFF reader for logos and the metric-compatible stand-in for the
# templates' "Arial". The linked libraries come from dpkg-shlibdeps with their
# minimum versions, or are named here where it is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins, fonts-liberation2")
find_program(TESSARO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TESSARO_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libqt6network6, libqt6svg6, libcups2, libqrencode4, ")
endif()
# Menus, file types and icon caches are refreshed by the triggers of
# desktop-file-utils, shared-mime-info and the icon theme; no scripts needed.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
# Qt's own dialogs in the program's language; without it they speak English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
