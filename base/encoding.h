// GBK (code page 936) <-> UTF-16 at the Win32 boundary. Characters GBK lacks become "?".
#pragma once
#include <string>
#include <string_view>

namespace tb {

std::wstring to_wide(std::string_view gbk);
std::string to_gbk(std::wstring_view wide);

}  // namespace tb
