# The Debian package: `cpack -G DEB` in the build folder writes kalvero_<version>_<arch>.deb
# with what `cmake --install` installs. The libraries the programs link are found by
# dpkg-shlibdeps; the packages they need only at run time are named here.
set(CPACK_PACKAGE_NAME kalvero)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kalvero")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fundstatistik aus der My Finds Pocket Query (Geocaching)")
set(CPACK_PACKAGE_DESCRIPTION
  "Kalvero liest die My Finds Pocket Query eines Geocaching-Kontos, als GPX-Datei oder als\n\
ZIP-Archiv, und zeigt jedes Funddatum, die Funde pro Tag und wie viele Tage genau N Funde\n\
hatten. Dazu die Kommandozeilenprogramme kalvero-stats und kalvero-zip.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kalvero <kalvero@kalvero.example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kalvero.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's German translation and fonts that stand in for Tahoma and MS Sans Serif. (The X11
# platform plugin comes with libqt6gui6.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-dejavu-core | fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, fonts-liberation")
include(CPack)
