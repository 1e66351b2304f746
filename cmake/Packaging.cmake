# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Kestrel developers
#
# `make package`: a Debian package of the program and kestrel-admin, installed together in
# /opt/kestrel with what the program looks for beside itself: the report definitions, the
# alert sounds, the background and the assistant's character, and the demo installation file
# (a hospital replaces it with its own, docs/administration.md).

install(TARGETS kestrel kestrel-admin RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/Reports DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/sounds/ DESTINATION . FILES_MATCHING PATTERN "*.wav")
install(FILES "${PROJECT_BINARY_DIR}/Main Menu1.jpg" "${PROJECT_BINARY_DIR}/merlin.acs"
              "${PROJECT_BINARY_DIR}/kestrel-installation.ini"
        DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/administration.md DESTINATION doc)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/samples DESTINATION doc)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrel)
set(CPACK_PACKAGE_VENDOR "Kestrel developers")
set(CPACK_PACKAGE_CONTACT "Kestrel developers <kestrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Operating Room workstation of a hospital information system")
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/kestrel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the binaries link are found by dpkg-shlibdeps; the database drivers are
# loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql")
# The spell checker reads the English dictionary at run time; without it the fields go unchecked.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-speech-flite-plugin, gstreamer1.0-plugins-good, hunspell-en-us")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
