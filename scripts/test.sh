#!/usr/bin/env bash
# Set-up, then the whole test suite: the build without Qt Widgets, the normal build and
# the sanitizer build (which also runs the fuzzers for a bounded time).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
# Without Qt Widgets the logic, the back ends and their tests still build and
# pass: the split between the core and the window layer is kept by the build.
for preset in core default sanitize; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset tests"
  ctest --preset "$preset" -j "$jobs"
done
