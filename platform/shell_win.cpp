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

void accept_dropped_files(HWND w) {
  TB_LATE(L"shell32.dll", DragAcceptFiles);
  if (DragAcceptFiles) DragAcceptFiles(w, TRUE);
}

DroppedFiles take_dropped_files(WPARAM wp) {
  auto drop = reinterpret_cast<HDROP>(wp);
  TB_LATE(L"shell32.dll", DragQueryFileW);
  TB_LATE(L"shell32.dll", DragQueryPoint);
  TB_LATE(L"shell32.dll", DragFinish);
  DroppedFiles out;
  if (!DragQueryFileW || !DragQueryPoint || !DragFinish) return out;
  const UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < n; ++i) {
    const UINT len = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring w(len + 1, L'\0');
    DragQueryFileW(drop, i, w.data(), len + 1);
    w.resize(len);
    out.paths.push_back(to_gbk(w));
  }
  DragQueryPoint(drop, &out.at);
  DragFinish(drop);
  return out;
}

}  // namespace tb
