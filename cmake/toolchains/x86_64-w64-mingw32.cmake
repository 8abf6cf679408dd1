# Cross-builds the Windows programs with Debian's MinGW-w64 (posix-thread
# compilers), fully static, and runs the tests under 64-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)
set(CMAKE_AR ${_mingw}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_mingw}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without -static the programs need libwinpthread-1.dll beside them, and
# under Wine they then end with status 53 without a word.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Every program built here runs through the wrapper, which keeps a Wine
# prefix of its own in the build folder.
get_filename_component(_orlimar_source "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR
  "${_orlimar_source}/scripts/wine-run.sh;${CMAKE_BINARY_DIR}/wine-prefix")

# At -O3 gcc 12 warns falsely (-Wrestrict) inside std::string's operator+.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the Release build")
