#!/usr/bin/env bash
# Static checks of a built capture DLL: export names as GBK bytes at their fixed ordinals,
# nothing else exported, no MinGW runtime DLL needed. ./check-capture-dll.sh DLL OBJDUMP
set -u
dll=$1; objdump=$2
rc=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; rc=1; fi; }
export LC_ALL=C
dump=$(mktemp); trap 'rm -f "$dump"' EXIT
"$objdump" -p "$dll" >"$dump" 2>/dev/null || : >"$dump"
gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }
# The name table lists each name with its ordinal less the base 1.
names=(JT 对话框_另存文件 剪辑板_取图片 目录_取临时目录 鼠标_改指针 鼠标_移动 系统_刷新屏幕 选取区域)
for i in "${!names[@]}"; do
  line=$(printf '\t[%4d] %s' "$i" "$(gbk "${names[$i]}")")
  check "$(basename "$dll") exports ${names[$i]} at ordinal $((i + 1))" "grep -qxF -- \"\$line\" '$dump'"
done
check "$(basename "$dll") exports exactly 8 names" "[ \"\$(sed -n '/Ordinal\/Name Pointer/,/^\$/p' '$dump' | grep -c '^	\[')\" = 8 ] && grep -q 'Ordinal Base 1' '$dump'"
own=$(sed -n 's/^Name[[:space:]]*[0-9a-f]* //p' "$dump" | head -n 1)
check "$(basename "$dll") calls itself 手动截图.dll" '[ "$own" = "$(gbk 手动截图.dll)" ]'
check "$(basename "$dll") needs no MinGW runtime DLL" "[ -s '$dump' ] && ! grep -E -i 'DLL Name: (libstdc|libgcc|libwinpthread)' '$dump' >/dev/null"
exit $rc
