#!/usr/bin/env bash
# Set-up, then the whole test suite: the build without Qt Widgets, the normal build and
# the sanitizer build (which also runs the fuzzers for a bounded time), and the
# Debian package built, checked, installed and removed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
# Without Qt Widgets the logic, the back ends and their tests still build and
# pass: the split between the core and the window layer is kept by the build.
for preset in core default sanitize; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset tests"
  ctest --preset "$preset" -j "$jobs"
  if [ "$preset" = default ]; then
    echo "== Debian package"
    scripts/package-test.sh
  fi
done
