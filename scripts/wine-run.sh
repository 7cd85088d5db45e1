#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine in the prefix $1: ./wine-run.sh PREFIX prog.exe args...
# Uses $DISPLAY when set (the test command starts one Xvfb for a whole run), else its own Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1; shift
"$here/wine-prefix.sh" "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/lib/wine/wine64 "$@"
fi
exec /usr/lib/wine/wine64 "$@"
