#!/usr/bin/env bash
# The Debian package as a user gets it: built, checked by lintian, installed with
# apt-get, run from PATH and from its menu entry's Exec line, removed again.
# Needs root or sudo; run by scripts/test.sh after the default build.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=300  # seconds for each step that could hang

if ! command -v apt-get >/dev/null 2>&1; then
  echo "package test: no apt-get here, skipped"
  exit 0
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

timeout $limit cmake --build --preset default --target package
deb=$(ls build/default/orlimar_*_*.deb)
echo "== lintian $deb"
timeout $limit lintian --fail-on error --tag-display-limit 0 "$deb"

if dpkg-query -W -f='${Status}' orlimar 2>/dev/null | grep -q 'install ok installed'; then
  echo "package test: orlimar is already installed here; install and removal left out"
  exit 0
fi

work=$(mktemp -d)
chmod 755 "$work"
cleanup() {
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 remove -y -qq \
    orlimar >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
# apt's download user must be able to read the file.
cp "$deb" "$work/" && chmod 644 "$work"/*.deb
echo "== apt-get install ./$(basename "$deb")"
timeout $limit $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 \
  install -y -qq --no-install-recommends "$work/$(basename "$deb")"

version=$(sed -n 's/^project(Orlimar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# A clean environment, so only the installed programs can answer.
clean=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work" XDG_CONFIG_HOME="$work/config")
check() {
  local expected=$1
  shift
  local got
  got=$("${clean[@]}" "$@")
  if [ "$got" != "$expected" ]; then
    echo "FAIL: $* printed '$got', not '$expected'" >&2
    exit 1
  fi
  echo "ok: $* -> $got"
}
check "Orlimar $version" orlimar --version
check "Orlimar $version" Orlimar --version
check "orlimar-lookup $version" orlimar-lookup --version

# The menu entry's command starts the dialog: still running after a few seconds.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/com.quenwick.Orlimar.desktop)
set +e
# shellcheck disable=SC2086 # the Exec line is split as a launcher splits it
timeout 5 "${clean[@]}" QT_QPA_PLATFORM=offscreen $exec_line
started=$?
set -e
if [ $started -ne 124 ]; then
  echo "FAIL: the menu entry's Exec line '$exec_line' ended with status $started" >&2
  exit 1
fi
echo "ok: Exec=$exec_line starts the dialog"

echo "== apt-get remove orlimar"
timeout $limit $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 \
  remove -y -qq orlimar
if command -v orlimar >/dev/null 2>&1 || [ -e /usr/bin/orlimar-lookup ]; then
  echo "FAIL: programs left behind after removal" >&2
  exit 1
fi
echo "package test: passed"
