#!/usr/bin/env bash
# Creates (once) the Wine prefix given as $1: no Mono/Gecko dialogs, Chinese-capable font
# replacements. Safe to call from parallel test runs.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.tb-ready2" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  reg=$(mktemp --suffix=.reg)
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for face in '宋体' 'SimSun' 'Tahoma' 'MS Shell Dlg' 'MS Shell Dlg 2' '微软雅黑' 'Microsoft YaHei' 'MS Sans Serif'; do
      printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers\\winemac.drv]\r\n'
    # No window manager here: unmanaged windows hide at once instead of after a 2 s wait.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
  } | iconv -f UTF-8 -t UTF-16LE > "$reg.body"
  # regedit reads UTF-16 .reg files with a BOM; REGEDIT4 must then be "Windows Registry Editor Version 5.00".
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<<"$(iconv -f UTF-16LE -t UTF-8 "$reg.body" | sed 's/^REGEDIT4/Windows Registry Editor Version 5.00/')"
  } > "$reg"
  /usr/lib/wine/wine64 regedit /S "$(winepath_out=$(/usr/lib/wine/wine64 winepath -w "$reg" 2>/dev/null); echo "$winepath_out")" >/dev/null 2>&1 || true
  rm -f "$reg" "$reg.body"
  /usr/lib/wine/wineserver -w || true
  touch "$prefix/.tb-ready2"
fi
