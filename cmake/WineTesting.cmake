# Tests of the Windows build: GoogleTest built from Debian's sources, and the
# Wine server of the build's prefix started before the tests and stopped after.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The emulator as a command: the wrapper and the prefix folder.
set(ORLIMAR_WINE_RUN ${CMAKE_CROSSCOMPILING_EMULATOR})
list(GET ORLIMAR_WINE_RUN 1 ORLIMAR_WINE_PREFIX)

add_test(NAME wine_server_start COMMAND ${ORLIMAR_WINE_RUN} --start)
add_test(NAME wine_server_stop COMMAND ${ORLIMAR_WINE_RUN} --stop)
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 600)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
# Every test under Wine names the fixture, so that the server is up first
# and goes away at the end of the run.
set(orlimar_test_fixtures FIXTURES_REQUIRED wine)
# The first listing of a run may have to make the prefix first.
set(orlimar_discovery_timeout 300)
