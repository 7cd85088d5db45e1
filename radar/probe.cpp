#include "radar/probe.h"

#include <psapi.h>
#include <tlhelp32.h>

#include "base/encoding.h"
#include "platform/handles.h"
#include "radar/forms.h"

namespace tb::radar {

std::string ProcessNames::name_of(DWORD pid) {
  if (cache_) {
    auto it = names_.find(pid);
    if (it != names_.end()) return it->second;
  }
  std::string found;
  bool matched = false;
  UniqueHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0));
  if (snap) {
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32FirstW(snap.get(), &pe); ok; ok = Process32NextW(snap.get(), &pe)) {
      if (!matched && pe.th32ProcessID == pid) {
        found = to_gbk(pe.szExeFile);
        matched = true;
        if (!cache_) break;
      }
      // The first entry of each ID wins, as in the uncached lookup.
      if (cache_) names_.emplace(pe.th32ProcessID, to_gbk(pe.szExeFile));
    }
  }
  if (cache_) names_.emplace(pid, found);
  return found;
}

std::string ProcessNames::path_of(DWORD pid) {
  if (!cache_) return process_path(pid);
  auto it = paths_.find(pid);
  if (it == paths_.end()) it = paths_.emplace(pid, process_path(pid)).first;
  return it->second;
}

std::string process_path(DWORD pid) {
  if (pid == 0) return {};
  ProcessHandle proc(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!proc) return {};
  wchar_t buf[1024];
  DWORD n = GetModuleFileNameExW(proc.get(), nullptr, buf, 1024);
  if (n == 0) return {};
  return cut_to_bytes(to_gbk(std::wstring_view(buf, n)), kPathLimit);
}

bool is_visible_top_level(HWND w) {
  // The windows EnumWindows lists are the desktop's children; asking for the parent is one
  // look-up where the enumeration lists every top-level window on the desktop.
  return w && GetAncestor(w, GA_PARENT) == GetDesktopWindow() && IsWindowVisible(w);
}

std::string window_title(HWND w, DWORD pid) {
  if (pid == 0) GetWindowThreadProcessId(w, &pid);
  wchar_t buf[256];
  // Another process's title is the one the system keeps, read without a message to that
  // process (which may be slow or hung); our own windows answer WM_GETTEXT directly.
  const int n = pid == GetCurrentProcessId() ? GetWindowTextW(w, buf, 256) : InternalGetWindowText(w, buf, 256);
  return cut_to_bytes(to_gbk(std::wstring_view(buf, n > 0 ? n : 0)), kTitleLimit);
}

Readout read_window(HWND w, ProcessNames& names) {
  Readout r;
  r.window = w;
  GetWindowThreadProcessId(w, &r.pid);
  wchar_t buf[256];
  int n = GetClassNameW(w, buf, 256);
  r.class_name = cut_to_bytes(to_gbk(std::wstring_view(buf, n > 0 ? n : 0)), kClassLimit);
  r.title = window_title(w, r.pid);
  if (!GetWindowRect(w, &r.rect)) r.rect = RECT{};
  r.path = names.path_of(r.pid);
  if (is_visible_top_level(w)) r.name = names.name_of(r.pid);
  return r;
}

void invert_outline(HWND w) {
  RECT r;
  if (!w || !GetWindowRect(w, &r)) return;
  WindowDc dc(w, true);
  if (!dc) return;
  GdiPen pen(CreatePen(PS_SOLID, 5, RGB(255, 0, 0)));
  SelectGuard p(dc.get(), pen.get());
  SelectGuard b(dc.get(), GetStockObject(NULL_BRUSH));
  int old_rop = SetROP2(dc.get(), R2_NOT);
  Rectangle(dc.get(), 0, 0, r.right - r.left, r.bottom - r.top);
  SetROP2(dc.get(), old_rop);
}

}  // namespace tb::radar
