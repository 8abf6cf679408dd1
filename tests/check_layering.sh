#!/usr/bin/env bash
# The layering rule, checked on the sources: the logic folders are plain C++
# (no Qt, libcurl, POSIX or file system code) and ui/ reaches Qt only through
# the window layer. Prints each offending include and fails when there is one.
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
exit $status
