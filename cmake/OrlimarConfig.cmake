# One INTERFACE target carries the language level, warnings and defines for
# every target of the project; nothing is set directory-wide.
add_library(orlimar_config INTERFACE)
target_compile_features(orlimar_config INTERFACE cxx_std_20)
target_compile_options(orlimar_config INTERFACE -Wall -Wextra
  $<$<BOOL:${ORLIMAR_WERROR}>:-Werror>)
# Every target includes by folder from the top: #include "lookup/geocoding.h".
target_include_directories(orlimar_config INTERFACE ${PROJECT_SOURCE_DIR})
set(CMAKE_CXX_EXTENSIONS OFF)
