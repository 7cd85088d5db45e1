#!/usr/bin/env bash
# Static checks of the 32-bit release build, which cannot run here.
set -u
dir=${1:-build/win32}
rc=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; rc=1; fi; }
exe="$dir/app/toolbox.exe"
check "toolbox.exe is a PE32 (i386) image" "i686-w64-mingw32-objdump -f '$exe' 2>/dev/null | grep -q 'file format pei-i386'"
check "toolbox.exe needs no MinGW runtime DLL" "[ -f '$exe' ] && ! i686-w64-mingw32-objdump -p '$exe' | grep -E -i 'DLL Name: (libstdc|libgcc|libwinpthread)'"
# Every other library is loaded when first needed, off the start-up path.
check "toolbox.exe imports only kernel32, user32, gdi32, advapi32 and msvcrt" "[ -f '$exe' ] && ! i686-w64-mingw32-objdump -p '$exe' | grep 'DLL Name:' | grep -v -i -E 'DLL Name: (kernel32|user32|gdi32|advapi32|msvcrt)\.dll'"
dll="$dir/imagetool/capture_dll/capture.dll"
check "capture.dll is a PE32 (i386) image" "i686-w64-mingw32-objdump -f '$dll' 2>/dev/null | grep -q 'file format pei-i386'"
bash "$(dirname "$0")/check-capture-dll.sh" "$dll" i686-w64-mingw32-objdump || rc=1
exit $rc
