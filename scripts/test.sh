#!/usr/bin/env bash
# Installs what is missing, builds all three presets and runs every test:
# native unit tests (ASan/UBSan), Win32 and end-to-end tests under Wine + Xvfb, the
# static checks of the 32-bit release build, and a short run of every fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install.sh

jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

log=$(mktemp -d)
status=0
ctest --preset native -j "$jobs" 2>&1 | tee "$log/native.txt" || status=1

bash scripts/check-win32.sh build/win32 2>&1 | tee "$log/static.txt" || status=1
# The framework, the grouped list's window side and the capture library keep short functions.
python3 scripts/check-function-length.py 60 platform/*.cpp platform/*.h widgets/grouplist/*.cpp widgets/grouplist/*.h \
  imagetool/capture_dll/*.cpp imagetool/capture_dll/*.h 2>&1 | tee -a "$log/static.txt" || status=1

# Every fuzz target builds and survives a few seconds; the long runs are `make fuzz`.
FUZZ_SECONDS=${TB_CI_FUZZ_SECONDS:-5} TB_JOBS=$jobs bash scripts/fuzz.sh 2>&1 | tee "$log/fuzz.txt" || status=1

source scripts/xvfb.sh
tb_start_xvfb
export TB_WINE_PREFIX_TO_STOP="$root/build/win64/wineprefix"
scripts/wine-prefix.sh "$TB_WINE_PREFIX_TO_STOP"
# Windows tests share one display, the pointer and global hotkeys: run them one at a time.
ctest --preset win64 -j 1 2>&1 | tee "$log/win64.txt" || status=1

passed=0; failed=0
for f in native win64; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log/$f.txt" | tail -n 1 || true)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*tests passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  [ -n "$line" ] || { total=0; bad=1; status=1; }
  passed=$((passed + total - bad)); failed=$((failed + bad))
done
for f in static fuzz; do
  ok=$(grep -c '^ok' "$log/$f.txt" || true)
  bad=$(grep -c '^FAIL' "$log/$f.txt" || true)
  passed=$((passed + ok)); failed=$((failed + bad))
done
# A fuzz build that broke prints no per-target line: it still counts as a failure.
grep -qE '^(ok|FAIL) fuzz_' "$log/fuzz.txt" || failed=$((failed + 1))
rm -rf "$log"
echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$status" -eq 0 ]
