# The Debian package of the install component "Orlimar":
# cmake --build --preset default --target package gives orlimar_VERSION_ARCH.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orlimar)
set(CPACK_PACKAGE_VENDOR "Quenwick Software")
set(CPACK_PACKAGE_CONTACT "Quenwick Software <orlimar@quenwick.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "find a place and open its National Weather Service point forecast")
# The long description below the summary; CPack indents it and marks the blank line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orlimar is one small dialog: type a place (a name, a street address, a
latitude and longitude, or a ZIP code) and it shows the formatted address,
the coordinates as decimal text and as degrees:minutes:seconds, and the
ground elevation in feet or meters. Forecast opens the graphical point
forecast for the place in the web browser.

The console tool orlimar-lookup prints the same look-up for scripts.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quenwick.com/orlimar/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The forecast page opens through xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS xdg-utils)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL Orlimar)
set(CPACK_DEB_COMPONENT_INSTALL OFF)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)
