#!/usr/bin/env bash
# Runs each fuzzer of the sanitizer build for SECONDS (default 900), one after the
# other, from the committed seeds; new inputs collect under the build folder, and
# any crash input is left there (crash-*, leak-*, timeout-*) with the fuzzer's log.
#   scripts/fuzz.sh [SECONDS] [FUZZER...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-900}
shift || true

cmake --preset sanitize >/dev/null
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(fuzz_reply_scans fuzz_hive_parser)
cmake --build --preset sanitize -j 2 --target "${fuzzers[@]}"

out=build/sanitize/fuzz
status=0
for fuzzer in "${fuzzers[@]}"; do
  work="$out/corpus/$fuzzer"
  findings="$out/findings/$fuzzer"
  mkdir -p "$work" "$findings"
  echo "== $fuzzer for ${seconds}s (log: $findings/log.txt)"
  if "$out/$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/" "$work" "fuzz/corpus/$fuzzer" >"$findings/log.txt" 2>&1; then
    echo "   no failure; $(grep -c . <(ls "$work")) inputs in $work"
  else
    status=1
    echo "   FAILED: see $findings/log.txt and the input in $findings/"
    tail -n 30 "$findings/log.txt"
  fi
  grep -E '^stat::' "$findings/log.txt" | sed 's/^/   /' || true
done
exit $status
