#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine in a prefix of the build's own,
# made on first use: null graphics driver, dialog fonts, and a persistent
# Wine server whose output is detached, so that a caller reading the
# program's output is not kept waiting by the server or its helpers.
#   wine-run.sh PREFIX PROGRAM [ARG...]   run PROGRAM (the test emulator)
#   wine-run.sh PREFIX --start            make the prefix, start and warm the server
#   wine-run.sh PREFIX --stop             stop the server; the registry is then on disk
set -euo pipefail
prefix=$(realpath -m "${1:?usage: wine-run.sh PREFIX PROGRAM [ARG...] | --start | --stop}")
shift

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# Longer than any pause between two tests, short enough that a server left
# behind by an interrupted run goes away by itself.
persist_seconds=120

make_prefix() {
  local log=$prefix.log
  rm -rf "$prefix"
  mkdir -p "$prefix"
  {
    timeout 300 "$wine" wineboot -i
    timeout 120 "$wineserver" -w
    # Settings change only while no server runs: a driver changed under a live
    # server leaves later windows unable to open.
    timeout 120 "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
    # An address opened without a test's own fake browser starts nothing real.
    timeout 120 "$wine" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d /bin/true /f
    timeout 120 "$wineserver" -w
  } </dev/null >"$log" 2>&1 9>&-
  # Debian's Wine does not find its own fonts: without these "MS Shell Dlg"
  # falls back to another face and dialog units come out wrong.
  cp /usr/share/wine/fonts/{tahoma,tahomabd,marlett}.ttf "$prefix/drive_c/windows/Fonts/"
  touch "$prefix/.orlimar-ready"
}

# Makes the prefix when missing and starts the server when none runs.
ensure_server() {
  exec 9>"$prefix.lock"
  flock -w 600 9
  [ -f "$prefix/.orlimar-ready" ] || make_prefix
  # A second server for the same prefix exits at once with status 2.
  local status=0
  setsid -w "$wineserver" -p"$persist_seconds" </dev/null >/dev/null 2>&1 9>&- || status=$?
  if [ "$status" -eq 0 ]; then
    # The first program starts Wine's own helper processes, which stay: start
    # them here, away from the caller's pipes.
    timeout 120 "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
  fi
  exec 9>&-
}

case ${1:?program missing} in
  --start) ensure_server ;;
  --stop)
    # The server writes the registry out as it ends; wait for that.
    "$wineserver" -k 2>/dev/null || true
    timeout 60 "$wineserver" -w
    ;;
  *)
    ensure_server
    exec "$wine" "$@"
    ;;
esac
