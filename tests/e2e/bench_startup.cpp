// Start-up time under Wine: process start to the main window being shown, for the toolbox
// and for a minimal Win32 program, alternating in one run. Prints a table; never fails.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/e2e/e2e_util.h"
#include "tests/support/win_test_util.h"

namespace {

double now_ms() {
  static LARGE_INTEGER f = [] {
    LARGE_INTEGER x;
    QueryPerformanceFrequency(&x);
    return x;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double time_one(const std::wstring& exe, const wchar_t* caption) {
  tb::e2e::Launched app;
  std::wstring dir = tb::e2e::make_program_dir(L"bench");
  app.dir = dir;
  std::wstring copy = tb::e2e::copy_program(exe, dir);  // not part of start-up
  double t0 = now_ms();
  if (copy.empty() || !tb::e2e::start_program(copy, dir, app)) return -1;
  while (!tb::e2e::find_window(app.pi.dwProcessId, caption)) {
    if (now_ms() - t0 > 30000) return -1;
    Sleep(1);
  }
  return now_ms() - t0;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  const int runs = 15;
  std::vector<double> toolbox, minimal;
  std::wstring tb_exe = tb::test::host_path(TB_TOOLBOX_EXE), min_exe = tb::test::host_path(TB_MINIMAL_EXE);
  for (int i = 0; i < runs; ++i) {
    minimal.push_back(time_one(min_exe, L"minimal"));
    toolbox.push_back(time_one(tb_exe, L"Tarvo\x6309\x952E\x5DE5\x5177\x7BB1"));
  }
  double t = median(toolbox), m = median(minimal);
  std::printf("start-up to shown main window under Wine, median of %d runs each, alternating\n", runs);
  std::printf("  %-22s %8.1f ms\n", "minimal Win32 window", m);
  std::printf("  %-22s %8.1f ms\n", "toolbox.exe", t);
  std::printf("  ratio                  %8.2f x (goal: within 1.30 x)\n", t / m);
  return 0;
}
