#!/usr/bin/env bash
# Builds and runs every benchmark: native ones (Google Benchmark, optimised build) and the
# Win32 ones under Wine. Benchmarks print figures; they never fail on timing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)"
for b in $(find build/bench/bench -type f -executable -name 'bench_*' | sort); do
  echo "== $b"
  "$b" --benchmark_counters_tabular=true
done
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
wins=$(find build/win64/bench -type f -name 'bench_*.exe' 2>/dev/null | sort)
if [ -n "$wins" ]; then
  source scripts/xvfb.sh
  tb_start_xvfb
  export TB_WINE_PREFIX_TO_STOP="$root/build/win64/wineprefix"
  for b in $wins; do
    echo "== $b (Wine)"
    scripts/wine-run.sh "$TB_WINE_PREFIX_TO_STOP" "$b"
  done
fi
