# The Debian package: `cpack -G DEB --config <build>/CPackConfig.cmake` (tools/package.sh does it
# all). It takes what `cmake --install` puts under /usr: the program folder in /usr/lib/quil
# (the program, Base.dat, the pictures), the launcher /usr/bin/quil, and what a desktop needs to
# offer the program and open .qdb files with it: the desktop entry, the icon, the MIME type, the
# AppStream metainfo and the man page. dpkg's triggers of shared-mime-info, desktop-file-utils and
# the icon cache pick these up, so the package needs no scripts of its own.

# The man page and the metainfo carry the project's version (the one `quil --version` and the
# package report); the metainfo's release also needs the day it was made.
set(QUIL_RELEASE_DATE 2026-12-09)
configure_file(packaging/quil.1.in ${CMAKE_BINARY_DIR}/packaging/quil.1 @ONLY)
configure_file(packaging/quil.metainfo.xml.in ${CMAKE_BINARY_DIR}/packaging/quil.metainfo.xml @ONLY)

# The man page is installed compressed, as Debian keeps them.
set(QUIL_MAN_PAGE ${CMAKE_BINARY_DIR}/packaging/quil.1.gz)
add_custom_command(
  OUTPUT ${QUIL_MAN_PAGE}
  COMMAND sh -c "gzip -9 -n -c '${CMAKE_BINARY_DIR}/packaging/quil.1' > '${QUIL_MAN_PAGE}'"
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/quil.1
  COMMENT "Compressing the man page"
  VERBATIM)
add_custom_target(quil_man_page ALL DEPENDS ${QUIL_MAN_PAGE})

install(FILES packaging/quil-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quil.xml)
install(FILES ${CMAKE_BINARY_DIR}/packaging/quil.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME invalid.quil.QUIL.metainfo.xml)
install(FILES ${QUIL_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME quil)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QUIL")
set(CPACK_PACKAGE_CONTACT "QUIL maintainers <maintainers@quil.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "member list and donation records for a small organisation")
set(CPACK_PACKAGE_DESCRIPTION
  "QUIL keeps a small organisation's member list and the donations its members give. One password-protected .qdb file holds the members, the donations, the funds, the password list and the organisation's own name and logo. Donations are recorded from a rapid search by the donor's initials; filters, totals, printed statements and CSV export serve the people who keep the records.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# What the program links (tests/package checks this list against the program's NEEDED entries),
# the platform plugins Qt loads at start, and the fonts the reports are laid out in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libgcc-s1, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6network6 (>= 6.4), qt6-qpa-plugins, libsqlcipher0, libssl3")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
# gzip: a package built in a few seconds, every dpkg reads it.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_GENERATOR DEB)
include(CPack)
