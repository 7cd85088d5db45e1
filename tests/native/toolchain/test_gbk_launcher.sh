#!/usr/bin/env bash
# A character GBK lacks may sit in any comment and never breaks the build; literals still
# come out as GBK bytes, and a literal GBK cannot hold is refused, as g++ refuses it.
set -euo pipefail
launcher=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cc() { "$launcher" clang++ -std=c++20 -finput-charset=UTF-8 -fexec-charset=GBK -o "$dir/$1.o" -c "$dir/$1.cpp"; }

cat >"$dir/ok.cpp" <<'SRC'
// 10 µs, ก, "an unclosed quote
#include <cstring>
/* µ ก
   'µ' */ static const char kKey[] = "按";  // µ
static const char kSlashes[] = "// 按";  // the slashes above open no comment: µ
static const char kRaw[] = R"x(/* 按 )x";
int main() {
  const char quote = '"';  // "µ
  return std::strcmp(kKey, "\xB0\xB4") != 0 || quote != 34 || std::strlen(kSlashes) != 5 ||
         std::strlen(kRaw) != 6;
}
SRC
cc ok
clang++ -o "$dir/ok" "$dir/ok.o"
"$dir/ok" || { echo "FAIL: literals are not the GBK bytes"; exit 1; }

printf 'const char* k = "%s";\n' "µ" >"$dir/bad.cpp"
if cc bad 2>/dev/null; then echo "FAIL: a literal without a GBK form was accepted"; exit 1; fi
echo "ok"
