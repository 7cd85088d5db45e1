#!/usr/bin/env bash
# Compiler launcher for the clang (libFuzzer) build. clang accepts no -fexec-charset but
# UTF-8, so the GBK literals are made another way: the source file is converted to GBK
# and compiled as is (clang copies the bytes of a literal unchanged); a character GBK lacks
# is only allowed in a comment (see utf8-to-gbk.pl). Headers are not converted, so they
# must not hold non-ASCII literals.
# The fuzz preset sets it as CMAKE_CXX_COMPILER_LAUNCHER.
set -euo pipefail

args=()
gbk=0
for a in "$@"; do
  case "$a" in
    -fexec-charset=GBK) gbk=1 ;;
    -finput-charset=UTF-8) ;;
    *) args+=("$a") ;;
  esac
done
[ "$gbk" = 1 ] || exec "$@"

# Find the source after -c and the depfile after -MF.
src="" dep="" src_i=-1
for i in "${!args[@]}"; do
  if [ "${args[$i]}" = "-c" ] && [ $((i + 1)) -lt ${#args[@]} ]; then src_i=$((i + 1)); src=${args[$src_i]}; fi
  if [ "${args[$i]}" = "-MF" ] && [ $((i + 1)) -lt ${#args[@]} ]; then dep=${args[$((i + 1))]}; fi
done
[ -n "$src" ] || exec "${args[@]}"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
copy="$tmp/$(basename "$src")"
perl "$(dirname "$0")/utf8-to-gbk.pl" <"$src" | iconv -f UTF-8 -t GBK >"$copy"
args[$src_i]=$copy
# Quoted includes still resolve beside the original file.
"${args[@]}" -iquote "$(dirname "$src")" -Wno-invalid-source-encoding
if [ -n "$dep" ] && [ -f "$dep" ]; then
  sed -i "s|$copy|$src|g" "$dep"
fi
