#!/usr/bin/env bash
# The layering rule, checked on the sources: the logic folders are plain C++
# (no Qt, libcurl, POSIX or file system code), ui/ and the platform's neutral
# headers carry no back-end type, and only app/'s options reader reads the
# environment. Prints each offending line and fails when there is one.
set -u
cd "${1:?usage: check_layering.sh SOURCE_DIR}"

qt='#include *<Q|#include *<qt'
curl='#include *<curl/'
posix='#include *<(unistd|fcntl|dirent|spawn|pthread|poll|signal|dlfcn)\.h>|#include *<(sys|arpa|netinet)/'
files='#include *<(fstream|filesystem|cstdio)>'

status=0
check() {
  local folder=$1 pattern=$2
  if grep -rnE "$pattern" "$folder" --include='*.h' --include='*.cpp'; then status=1; fi
}
for folder in lookup forecast settings; do
  check "$folder" "$qt|$curl|$posix|$files"
done
check ui "$qt|$curl|$posix"
# What ui/ and app/ see of the platform: the contracts and the window layer's
# neutral headers (its back ends live in folders of their own).
for folder in platform/interfaces platform/window; do
  if grep -nE "$qt|$curl|$posix" "$folder"/*.h; then status=1; fi
done
# The environment is read once, into the platform options.
if grep -rnE 'getenv' lookup forecast settings ui platform app \
    --include='*.h' --include='*.cpp' | grep -v '^app/'; then
  status=1
fi
if grep -rn 'getenv' app --include='*.cpp' | grep -vE 'ReadPlatformOptions\(std::getenv\)|^app/platform_options_reader'; then
  status=1
fi
exit $status
