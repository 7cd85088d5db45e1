#!/usr/bin/env bash
# Builds every libFuzzer target and runs each for FUZZ_SECONDS (default 60) on its own
# corpus. Prints "ok NAME" or "FAIL NAME" per target; fails if any target fails or none
# was built. The test command runs it briefly, so a broken fuzz build fails CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${TB_JOBS:-$(nproc)}"
secs=${FUZZ_SECONDS:-60}
targets=$(find build/fuzz/fuzz -type f -executable -name 'fuzz_*' | sort)
[ -n "$targets" ] || { echo "FAIL: no fuzz target was built"; exit 1; }
status=0
for f in $targets; do
  name=$(basename "$f")
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/$name"
  [ -d "$seeds" ] || seeds=""
  echo "== $name for ${secs}s"
  if "$f" -max_total_time="$secs" -print_final_stats=1 "$corpus" $seeds; then
    echo "ok $name"
  else
    echo "FAIL $name"
    status=1
  fi
done
exit $status
