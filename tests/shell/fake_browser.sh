#!/bin/sh
# A browser for the Windows shell tests: records its arguments, one a line, in
# the file of its own name plus ".log" (complete once it exists), and opens
# nothing. The build copies it into the build folder.
for a in "$@"; do printf '%s\n' "$a"; done > "$0.log.tmp"
mv "$0.log.tmp" "$0.log"
