#include <windows.h>

#include "base/encoding.h"

namespace tb {

namespace {
constexpr UINT kGbk = 936;
}

std::wstring to_wide(std::string_view gbk) {
  if (gbk.empty()) return {};
  int n = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), out.data(), n);
  return out;
}

std::string to_gbk(std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, "?", nullptr);
  return out;
}

}  // namespace tb
