#!/usr/bin/env bash
# The installed menu entry, software-centre record and manual pages pass the
# tools that desktops and distributions check them with. Usage: check_installed_files.sh PREFIX
set -uo pipefail
prefix=${1:?usage: check_installed_files.sh PREFIX}
share=$prefix/share
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}

desktop=$share/applications/com.quenwick.Orlimar.desktop
if ! out=$(desktop-file-validate "$desktop" 2>&1) || grep -qiE 'error|warning' <<<"$out"; then
  fail "desktop-file-validate $desktop"
  echo "$out" >&2
fi

metainfo=$share/metainfo/com.quenwick.Orlimar.metainfo.xml
if ! out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
  fail "appstreamcli validate --no-net $metainfo"
  echo "$out" >&2
fi

for page in Orlimar orlimar orlimar-lookup; do
  file=$share/man/man1/$page.1.gz
  if [ ! -e "$file" ]; then
    fail "no manual page $file"
    continue
  fi
  # man --warnings reports groff's complaints on standard error.
  if ! warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -l "$file" 2>&1 >/dev/null) ||
    [ -n "$warnings" ]; then
    fail "man --warnings -l $file"
    echo "$warnings" >&2
  fi
done

# One version everywhere: the record and the pages carry the one the binaries report.
version=$("$prefix/bin/orlimar-lookup" --version | cut -d' ' -f2)
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo release is not $version"
for page in Orlimar orlimar-lookup; do
  zcat "$share/man/man1/$page.1.gz" | grep -q "\"Orlimar $version\"" ||
    fail "$page.1 does not carry version $version"
done
[ "$("$prefix/bin/Orlimar" --version)" = "Orlimar $version" ] || fail "Orlimar --version"

[ $status -eq 0 ] && echo "installed files pass desktop-file-validate, appstreamcli and man --warnings"
exit $status
