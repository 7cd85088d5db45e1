#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for FUZZ_SECONDS (default 60) on its own corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
secs=${FUZZ_SECONDS:-60}
for f in $(find build/fuzz/fuzz -type f -executable -name 'fuzz_*' | sort); do
  name=$(basename "$f")
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/$name"
  [ -d "$seeds" ] || seeds=""
  echo "== $name for ${secs}s"
  "$f" -max_total_time="$secs" -print_final_stats=1 "$corpus" $seeds
done
