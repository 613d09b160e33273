# The Debian package orvalle_<version>_amd64.deb, made by CPack from the
# install rules (`cmake --build --preset release --target package`, or
# `make package`). Its dependencies are those dpkg-shlibdeps finds for the
# two programs plus what the desktop program loads at run time: the Japanese
# fonts of the grids and sheets and Qt's Japanese translation.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalle)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvalle developers")
set(CPACK_PACKAGE_CONTACT "Orvalle developers <maintainers@orvalle.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "analysis of JRA horse races through common opponents")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orvalle rates every pair of runners of a Japanese central (JRA) horse race
through the common opponents in their past runs, by time margins corrected
for the weight carried. From those ratings and the user's own rules it forms
betting combinations, scores them against the official payouts, imports
predicted odds and prints an analysis sheet per race.
.
This package holds the Qt desktop program orvalle, the command-line tool
orvalle-cli and the HTML manual.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
include(CPack)
