#!/usr/bin/env bash
# Installs what building and running (set "run") or also testing (set "test",
# the default) need, only what is missing. On Debian and Ubuntu through apt-get;
# elsewhere it checks what is there and names the packages to install.
# Usage: scripts/install-deps.sh [run|test]
set -euo pipefail
set_name=${1:-test}
case "$set_name" in run | test) ;; *)
  echo "usage: $0 [run|test]" >&2
  exit 64
  ;;
esac

# Debian 12's names. The sanitizer runtime follows the installed clang (below).
run_packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev libssl-dev
  nlohmann-json3-dev
  xdg-utils
  python3 openssl
)
test_packages=(
  clang
  libgtest-dev libgmock-dev libbenchmark-dev
  curl
  fonts-dejavu-core
  locales
  desktop-file-utils appstream man-db
  dpkg-dev lintian file
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

# The same sets on other distributions, for the message when there is no apt-get.
packages_for() {
  local distro=$1 set=$2
  case "$distro/$set" in
    debian/run) echo "${run_packages[*]}" ;;
    debian/test) echo "${test_packages[*]} libclang-rt-dev (versioned as clang, e.g. libclang-rt-14-dev)" ;;
    fedora/run) echo "gcc-c++ cmake ninja-build pkgconf-pkg-config qt6-qtbase-devel libcurl-devel openssl-devel json-devel xdg-utils python3 openssl" ;;
    fedora/test) echo "clang compiler-rt gtest-devel gmock-devel google-benchmark-devel curl dejavu-sans-fonts glibc-langpack-de desktop-file-utils appstream man-db" ;;
    arch/run) echo "gcc cmake ninja pkgconf qt6-base curl nlohmann-json xdg-utils python openssl" ;;
    arch/test) echo "clang compiler-rt gtest benchmark ttf-dejavu desktop-file-utils appstream man-db" ;;
    opensuse/run) echo "gcc-c++ cmake ninja pkgconf qt6-base-devel libcurl-devel libopenssl-devel nlohmann_json-devel xdg-utils python3 openssl" ;;
    opensuse/test) echo "clang llvm-gold compiler-rt gtest gmock google-benchmark-devel curl dejavu-fonts glibc-locale desktop-file-utils AppStream man" ;;
  esac
}

print_package_lists() {
  local set=$1
  echo "Install these packages, then run this again:" >&2
  local label distro
  for distro in debian fedora arch opensuse; do
    case $distro in
      debian) label="Debian/Ubuntu (apt-get install)" ;;
      fedora) label="Fedora (dnf install)" ;;
      arch) label="Arch (pacman -S)" ;;
      opensuse) label="openSUSE (zypper install)" ;;
    esac
    local list
    list=$(packages_for "$distro" run)
    [ "$set" = test ] && list="$list $(packages_for "$distro" test)"
    printf '  %-34s %s\n' "$label:" "$list" >&2
  done
}

# Without apt-get: look for each thing the build needs, as the build looks for it.
check_without_apt() {
  local set=$1 missing=()
  local tool
  for tool in cmake ninja pkg-config c++ python3 openssl; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("command $tool")
  done
  if command -v pkg-config >/dev/null 2>&1; then
    local module
    for module in Qt6Widgets libcurl openssl nlohmann_json; do
      pkg-config --exists "$module" 2>/dev/null || missing+=("pkg-config module $module")
    done
    if [ "$set" = test ]; then
      for module in gtest gmock benchmark Qt6Test; do
        pkg-config --exists "$module" 2>/dev/null || missing+=("pkg-config module $module")
      done
    fi
  fi
  if [ "$set" = test ]; then
    for tool in clang++ curl desktop-file-validate appstreamcli man; do
      command -v "$tool" >/dev/null 2>&1 || missing+=("command $tool")
    done
  fi
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Missing for the $set set: ${missing[*]}" >&2
  print_package_lists "$set"
  exit 1
}

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
  check_without_apt "$set_name"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_install() {
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends "$@"
}
installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}
updated=false
install_missing() {
  local missing=() p
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  if [ "$updated" = false ]; then
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    updated=true
  fi
  apt_install "${missing[@]}"
}

wanted=("${run_packages[@]}")
[ "$set_name" = test ] && wanted+=("${test_packages[@]}")
install_missing "${wanted[@]}"

if [ "$set_name" = test ]; then
  # The sanitizer runtime is versioned as the compiler is: take the one that
  # belongs to the clang just installed, whichever Debian or Ubuntu this is.
  clang_major=$(clang -dumpversion | cut -d. -f1)
  install_missing "libclang-rt-${clang_major}-dev"
  # A decimal-comma locale, so the tests can show that numbers ignore it.
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
  fi
fi
