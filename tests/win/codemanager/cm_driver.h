// Shared by the code manager's Win32 test and benchmark: a snippet root in a fresh
// temporary folder, files written as bytes, the window opened on it.
#pragma once
#include <windows.h>

#include <string>

#include "base/encoding.h"
#include "base/fileio.h"
#include "codemanager/codemanager_window.h"
#include "codemanager/folder_ops.h"
#include "codemanager/snippet_store.h"
#include "platform/window.h"

namespace cm_test {

inline void pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG m;
  do {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(1);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// <temp>\tb_cm_<pid>_<n>\代码管理器, removed with its folder when it goes.
struct Root {
  std::string base, root;
  Root() {
    static int n = 0;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    base = tb::to_gbk(tmp) + "tb_cm_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++n);
    root = base + "\\代码管理器";
    tb::fs::remove_tree(base);  // left by a run that was cut short (Wine reuses process ids)
  }
  ~Root() { tb::fs::remove_tree(base); }
  Root(const Root&) = delete;
  Root& operator=(const Root&) = delete;
  std::string at(const std::string& rel) const { return root + "\\" + rel; }
  void folder(const std::string& rel) const { tb::snippets::make_folders(at(rel)); }
  // Makes the file's folder first.
  void file(const std::string& rel, const std::string& bytes) const {
    const std::string p = at(rel);
    tb::snippets::make_folders(p.substr(0, p.rfind('\\')));
    tb::write_file_atomic(p, bytes);
  }
  std::string read(const std::string& rel) const {
    std::string s;
    tb::read_file(at(rel), s);
    return s;
  }
  bool exists(const std::string& rel) const { return tb::fs::exists(at(rel)); }
};

inline tb::codemanager::CodeManagerWindow* open_on(const Root& r, tb::codemanager::AskText ask = {}) {
  static bool framework = (tb::init_framework(GetModuleHandleW(nullptr)), true);
  (void)framework;
  if (auto* old = tb::codemanager::current()) old->destroy();
  tb::codemanager::open_at(r.root, std::move(ask));
  return tb::codemanager::current();
}

}  // namespace cm_test
