#include "platform/shell_win.h"

#include <windows.h>

#include <shellapi.h>

#include "base/encoding.h"
#include "platform/late_bind.h"

namespace tb {

namespace {
bool open_wide(const std::wstring& target) {
  TB_LATE(L"shell32.dll", ShellExecuteW);
  if (!ShellExecuteW) return false;
  auto r = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return r > 32;
}
}  // namespace

bool shell_open(std::string_view target) { return open_wide(to_wide(target)); }

bool start_system_program(std::string_view exe) {
  wchar_t dir[MAX_PATH] = {};
  UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  std::wstring name = to_wide(exe);
  return open_wide(n && n < MAX_PATH ? std::wstring(dir, n) + L"\\" + name : name);
}

}  // namespace tb
