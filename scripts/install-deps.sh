#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, only when missing.
set -euo pipefail

packages=(
  g++ clang libclang-rt-14-dev cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 openssl curl
  fonts-dejavu-core
  locales
  xdg-utils
  # The Windows build: the cross compilers (with windres), GoogleTest's
  # sources, 64-bit Wine for its tests (Wine's TLS needs GnuTLS, only
  # recommended by Wine, and its certificate store reads the system's
  # bundle), the icon tool and the installer maker.
  g++-mingw-w64-x86-64-posix googletest
  wine64 fonts-wine libgnutls30 ca-certificates
  icoutils nsis
  # The Windows tool's end-to-end test brings up a private loopback interface.
  iproute2
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A decimal-comma locale, so the tests can show that numbers ignore it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
