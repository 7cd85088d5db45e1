#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit program and starts it under Wine. Without a
# display it starts a private Xvfb, opens the toolbox, saves a screenshot and says where.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target toolbox
prefix="$root/build/win64/wineprefix"
scripts/wine-prefix.sh "$prefix"
# State lives beside the executable: run from a program folder of its own.
progdir="$root/build/program"
mkdir -p "$progdir"
cp build/win64/app/toolbox.exe "$progdir/"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "${DISPLAY:-}" ]; then
  cd "$progdir"
  exec /usr/lib/wine/wine64 ./toolbox.exe
fi
source scripts/xvfb.sh
tb_start_xvfb
export TB_WINE_PREFIX_TO_STOP=$prefix
(cd "$progdir" && /usr/lib/wine/wine64 ./toolbox.exe) &
sleep "${TB_SHOT_DELAY:-8}"
shot="$root/build/toolbox-screenshot.png"
import -window root "$shot"
echo "The toolbox ran under Wine on a private display; screenshot saved to $shot"
