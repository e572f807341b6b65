# The Debian package of the installed layout: `make package` (cpack in the release tree) writes
# build/package/tagwright_<version>_<arch>.deb. Its dependencies come from the program's
# libraries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tagwright)
set(CPACK_PACKAGE_VENDOR Corvell)
set(CPACK_PACKAGE_CONTACT "Corvell <tagwright@corvell.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the tags of MPEG audio files")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# The package installs into a staging folder through DESTDIR, so that the install step sees the
# real prefix, which the desktop entries name.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Corvell <tagwright@corvell.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tagwright.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Wayland windows, the picture formats beyond Qt's own, and the opener of the help texts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-image-formats-plugins, xdg-utils")
# The long description below the summary; CPack indents it as the control file wants.
# The long description below the summary, in lines as the control file wants them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tagwright reads and writes the ID3v1 and ID3v2 tags of MP3, MP2 and MP1
files and shows their audio properties. It collects files from folders,
playlists, drops and the file manager into one list, edits the tags of one
file or of many at once (cover pictures included), renames files from their
tags and creates M3U playlists.")

include(CPack)
