// Drives the radar black-box under Wine: the target process, real mouse input and screen
// pixels. Shared by the radar tests and the move benchmark.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/win/radar/target_windows.h"
#include "tests/support/win_test_util.h"

namespace radar_test {

// Pumps this thread's messages for at least `ms` milliseconds.
inline void pump(DWORD ms = 0) { tb::test::pump(ms); }

using tb::test::class_of;
using tb::test::wait_until;

inline std::wstring exe_dir() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring p(buf, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

// A target process (radar_target.exe beside this program) and its windows.
class Target {
 public:
  // The one shared by the tests, always answering.
  static Target& get() {
    static Target t;
    return t;
  }
  Target();
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;
  // Makes the target hang: it stops pumping messages, and its process ends after `ms`.
  // False if it still answers.
  bool stop_answering(DWORD ms) {
    hung_ = true;
    PostMessageW(top, radar_target::kStopAnswering, ms, 0);
    return wait_until([this] {
      DWORD_PTR r = 0;
      return SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, 100, &r) == 0;
    });
  }
  bool ok() const { return top && child && second; }
  HWND top = nullptr, child = nullptr, second = nullptr;
  DWORD pid = 0;
  std::wstring path;

  ~Target() {
    if (hung_ && process_) TerminateProcess(process_, 1);
    if (top) PostMessageW(top, WM_CLOSE, 0, 0);
    if (process_) {
      if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
      CloseHandle(process_);
    }
  }

 private:
  bool hung_ = false;
  void start() {
    path = exe_dir() + L"radar_target.exe";
    std::wstring cmd = L"\"" + path + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid = pi.dwProcessId;
    wait_until([this] {
      find();
      return ok() && IsWindowVisible(top) && IsWindowVisible(second);
    }, 20000);
    pump(300);  // let the windows paint
  }
  static BOOL CALLBACK match(HWND w, LPARAM lp) {
    auto* t = reinterpret_cast<Target*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != t->pid) return TRUE;
    if (class_of(w) == radar_target::kClass) t->top = w;
    if (class_of(w) == radar_target::kLongClass) t->second = w;
    return TRUE;
  }
  void find() {
    EnumWindows(&match, reinterpret_cast<LPARAM>(this));
    if (top) child = FindWindowExW(top, nullptr, L"Button", nullptr);
  }
  HANDLE process_ = nullptr;
};
inline Target::Target() { start(); }

// Real mouse input, as the user's hand gives it.
inline void move_to(POINT p) { tb::test::move_pointer(p); }
inline void button(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

inline POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
inline RECT window_rect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// Screen pixels of a rectangle, 0x00RRGGBB, row by row.
inline std::vector<std::uint32_t> grab(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bm = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bm);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  for (std::size_t i = 0; i < px.size(); ++i) px[i] = static_cast<const std::uint32_t*>(bits)[i] & 0xFFFFFF;
  SelectObject(mem, old);
  DeleteObject(bm);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return px;
}

}  // namespace radar_test
