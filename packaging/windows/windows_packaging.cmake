# What makes Orlimar a Windows program: Orlimar.exe's resources, and the zip and
# the per-user installer that CPack makes of both programs.

# The icon from the same artwork as the Linux icons.
find_program(ORLIMAR_ICOTOOL icotool REQUIRED)
set(ORLIMAR_ICO ${CMAKE_CURRENT_BINARY_DIR}/orlimar.ico)
# The standard size first: the about box's icon static (SS_REALSIZEIMAGE)
# shows the first image on Windows.
set(_icons ${CMAKE_CURRENT_SOURCE_DIR}/icons/orlimar-32.png
           ${CMAKE_CURRENT_SOURCE_DIR}/icons/orlimar-48.png
           ${CMAKE_CURRENT_SOURCE_DIR}/icons/orlimar-16.png)
add_custom_command(OUTPUT ${ORLIMAR_ICO}
  COMMAND ${ORLIMAR_ICOTOOL} -c -o ${ORLIMAR_ICO} ${_icons}
  DEPENDS ${_icons} VERBATIM)

# Orlimar.exe links this library for its resources.
configure_file(windows/orlimar.rc.in ${CMAKE_CURRENT_BINARY_DIR}/orlimar.rc @ONLY)
add_library(orlimar_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/orlimar.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/orlimar.rc PROPERTIES
  OBJECT_DEPENDS "${ORLIMAR_ICO};${CMAKE_CURRENT_SOURCE_DIR}/windows/orlimar.manifest")

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)

# Orlimar-VERSION-win64.zip, and Orlimar-VERSION-win64.exe installing for the
# current user only into %LOCALAPPDATA%\Programs\Orlimar, with a Start-menu
# entry. Its uninstaller removes the program and its own keys; the settings
# under HKCU\Software\Quenwick Software\Orlimar stay.
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Orlimar)
set(CPACK_PACKAGE_VENDOR "Quenwick Software")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Place look-up and forecast launcher")
set(CPACK_PACKAGE_FILE_NAME "Orlimar-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Orlimar)
# Not "Orlimar": the uninstaller deletes this key under the vendor's.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Orlimar ${PROJECT_VERSION}")
set(CPACK_PACKAGE_EXECUTABLES Orlimar Orlimar)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_MONOLITHIC_INSTALL ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_DISPLAY_NAME Orlimar)
set(CPACK_NSIS_PACKAGE_NAME Orlimar)
set(CPACK_NSIS_MUI_ICON ${ORLIMAR_ICO})
set(CPACK_NSIS_MUI_UNIICON ${ORLIMAR_ICO})
set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\\\Orlimar.exe)
# The per-user template lives beside this file.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR}/windows)
include(CPack)
