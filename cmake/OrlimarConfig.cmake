# One INTERFACE target carries the language level, warnings and defines for
# every target of the project; nothing is set directory-wide.
add_library(orlimar_config INTERFACE)
target_compile_features(orlimar_config INTERFACE cxx_std_20)
target_compile_options(orlimar_config INTERFACE -Wall -Wextra
  $<$<BOOL:${ORLIMAR_WERROR}>:-Werror>)
# Every target includes by folder from the top: #include "lookup/geocoding.h".
target_include_directories(orlimar_config INTERFACE ${PROJECT_SOURCE_DIR})
set(CMAKE_CXX_EXTENSIONS OFF)

# The version is written once, in project(VERSION); everything else takes it from here.
configure_file(${CMAKE_CURRENT_LIST_DIR}/orlimar_version.h.in
  ${PROJECT_BINARY_DIR}/generated/orlimar_version.h @ONLY)
target_include_directories(orlimar_config INTERFACE ${PROJECT_BINARY_DIR}/generated)
