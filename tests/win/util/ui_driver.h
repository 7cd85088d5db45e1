// Helpers for tests that drive modal windows of their own process: message pumping with a
// timeout, and a second thread that waits for a dialog, acts on it and makes sure it closes.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/win_test_util.h"

namespace test {

using tb::test::class_of;
using tb::test::wait_until;

inline std::wstring text_of(HWND w) {
  wchar_t buf[512] = {};
  GetWindowTextW(w, buf, 512);
  return buf;
}

struct DialogSearch {
  const std::wstring* caption;
  std::vector<HWND> found;
};

inline BOOL CALLBACK collect_dialog(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<DialogSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && class_of(w) == L"#32770" &&
      (!f->caption || text_of(w) == *f->caption))
    f->found.push_back(w);
  return TRUE;
}

// Visible dialogs (#32770) of this process, optionally only those with the given caption.
inline std::vector<HWND> own_dialogs(const std::wstring* caption = nullptr) {
  DialogSearch f{caption, {}};
  EnumWindows(collect_dialog, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

inline BOOL CALLBACK collect_child(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

inline std::vector<HWND> children_of(HWND parent) {
  std::vector<HWND> out;
  EnumChildWindows(parent, collect_child, reinterpret_cast<LPARAM>(&out));
  return out;
}

inline void press_button(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Types name into a file dialog's name box (cmb13) and presses its OK button.
inline void choose_file(HWND dialog, const std::wstring& name) {
  for (HWND c : children_of(dialog))
    if (GetDlgCtrlID(c) == 1148 && class_of(c) == L"Edit") SetWindowTextW(c, name.c_str());
  press_button(dialog, IDOK);
}

// From a driver thread: waits for a dialog captioned `caption` and presses `button` on it.
inline bool answer_dialog(const std::wstring& caption, int button, DWORD timeout_ms = 5000) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout_ms) {
    auto found = own_dialogs(&caption);
    if (!found.empty()) {
      press_button(found.front(), button);
      return true;
    }
    Sleep(20);
  }
  return false;
}

// Waits (on its own thread) for a dialog of this process captioned `caption`, runs act on it,
// and then expects it to close. A dialog that stays open is cancelled, so a test never hangs;
// stuck() then reports it.
class DialogDriver {
 public:
  DialogDriver(std::wstring caption, std::function<void(HWND)> act, DWORD timeout_ms = 15000)
      : thread_([this, caption = std::move(caption), act = std::move(act), timeout_ms] {
          const DWORD start = GetTickCount();
          HWND dialog = nullptr;
          while (!dialog && GetTickCount() - start < timeout_ms) {
            auto found = own_dialogs(&caption);
            if (found.empty())
              Sleep(20);
            else
              dialog = found.front();
          }
          if (!dialog) return;
          found_ = true;
          act(dialog);
          const DWORD acted = GetTickCount();
          while (IsWindow(dialog) && GetTickCount() - acted < 5000) Sleep(20);
          // Anything still open (the dialog, or a question it raised) is cancelled.
          while (!own_dialogs().empty() && GetTickCount() - acted < 20000) {
            stuck_ = true;
            for (HWND d : own_dialogs()) press_button(d, IDCANCEL);
            Sleep(100);
          }
        }) {}
  ~DialogDriver() { join(); }
  void join() {
    if (thread_.joinable()) thread_.join();
  }
  bool found() {
    join();
    return found_;
  }
  bool stuck() {
    join();
    return stuck_;
  }

 private:
  std::atomic<bool> found_{false};
  std::atomic<bool> stuck_{false};
  std::thread thread_;
};

}  // namespace test
