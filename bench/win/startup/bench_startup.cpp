// Start-up time under Wine, from process start: to the main window shown and painted, for the
// toolbox (its benchmark build, which signals that moment through a named event) and for a
// minimal Win32 program that signals the same way, alternating in one run; and to the
// launcher filled and painted (a second event of the toolbox). Prints median and spread;
// never fails.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/fileio.h"
#include "tests/e2e/e2e_util.h"
#include "bench/win/startup/startup_signal.h"
#include "tests/support/win_test_util.h"
#include "bench/win/bench_clock.h"

using tb::test::now_ms;

namespace {

struct Times {
  double window = -1, list = -1;  // ms from CreateProcess; -1 when the event never came
};

Times time_one(const std::wstring& exe, const std::string& set_ini = {}, bool has_list = false) {
  tb::e2e::Launched app;
  std::wstring dir = tb::e2e::make_program_dir(L"bench");
  app.dir = dir;
  if (!set_ini.empty()) tb::write_file_atomic(tb::to_gbk(dir) + "\\set.ini", set_ini);
  std::wstring copy = tb::e2e::copy_program(exe, dir);  // not part of start-up
  if (copy.empty()) return {};
  STARTUPINFOW si{sizeof si};
  std::wstring cmd = L"\"" + copy + L"\"";
  double t0 = now_ms();
  // Started suspended so the event exists before the program can look for it; the pause
  // is a few microseconds of the measured time.
  if (!CreateProcessW(copy.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, dir.c_str(), &si,
                      &app.pi))
    return {};
  namespace su = tb::startup;
  const DWORD pid = app.pi.dwProcessId;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, su::event_name(su::kWindow, pid).c_str());
  HANDLE list = CreateEventW(nullptr, TRUE, FALSE, su::event_name(su::kList, pid).c_str());
  HANDLE map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 2 * sizeof(LONGLONG),
                                  su::slots_name(pid).c_str());
  auto* slots = map ? static_cast<const LONGLONG*>(MapViewOfFile(map, FILE_MAP_READ, 0, 0, 0)) : nullptr;
  ResumeThread(app.pi.hThread);
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  // The time the program wrote, on the clock now_ms() reads.
  auto at = [&](su::Moment m) {
    if (slots[m] == 0) return -1.0;  // set without a time
    return static_cast<double>(slots[m]) * 1000.0 / static_cast<double>(freq.QuadPart) - t0;
  };
  Times t;
  HANDLE first[2] = {ready, app.pi.hProcess};
  if (slots && WaitForMultipleObjects(2, first, FALSE, 30000) == WAIT_OBJECT_0) t.window = at(su::kWindow);
  HANDLE second[2] = {list, app.pi.hProcess};
  if (slots && has_list && t.window >= 0 && WaitForMultipleObjects(2, second, FALSE, 30000) == WAIT_OBJECT_0)
    t.list = at(su::kList);
  if (slots) UnmapViewOfFile(slots);
  if (map) CloseHandle(map);
  CloseHandle(ready);
  CloseHandle(list);
  return t;
}

struct Spread {
  double median, min, q1, q3, max;
  int failed;
};

Spread spread(std::vector<double> v) {
  const auto failed = std::count(v.begin(), v.end(), -1.0);
  v.erase(std::remove(v.begin(), v.end(), -1.0), v.end());
  if (v.empty()) return {-1, -1, -1, -1, -1, static_cast<int>(failed)};
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return {v[n / 2], v.front(), v[n / 4], v[(3 * n) / 4], v.back(), static_cast<int>(failed)};
}

void print(const char* name, const Spread& s) {
  std::printf("  %-22s %8.1f ms   %8.1f .. %8.1f   %8.1f .. %8.1f", name, s.median, s.q1, s.q3, s.min, s.max);
  if (s.failed) std::printf("   (%d runs gave no signal)", s.failed);
  std::printf("\n");
}

}  // namespace

// A launcher of 1,000 items in 10 groups pointing at real programs, folders and addresses.
std::string big_launcher() {
  const char* targets[] = {"C:\\windows\\system32\\notepad.exe", "C:\\windows\\system32\\calc.exe", "C:\\windows",
                           "http://bbs.anjian.com", "C:\\windows\\system32\\cmd.exe", "C:\\windows\\win.ini"};
  std::string ini;
  for (int n = 1; n <= 1000; ++n)
    ini.append("[").append(std::to_string(n)).append("]\r\nfl=分组").append(std::to_string(n % 10))
        .append("\r\nname=项目").append(std::to_string(n)).append("\r\npath=").append(targets[n % 6])
        .append("\r\nhelp=\r\n");
  return ini;
}

int main() {
  const int runs = 31;
  std::vector<double> toolbox, minimal, launcher, toolbox_list, launcher_list;
  const std::string ini = big_launcher();
  std::wstring tb_exe = tb::test::host_path(TB_TOOLBOX_EXE), min_exe = tb::test::host_path(TB_MINIMAL_EXE);
  time_one(min_exe);  // the first start of a prefix loads more than any later one
  for (int i = 0; i < runs; ++i) {
    minimal.push_back(time_one(min_exe).window);
    Times t = time_one(tb_exe, {}, true), l = time_one(tb_exe, ini, true);
    toolbox.push_back(t.window);
    toolbox_list.push_back(t.list);
    launcher.push_back(l.window);
    launcher_list.push_back(l.list);
  }
  Spread t = spread(toolbox), m = spread(minimal), l = spread(launcher);
  // Each start beside the minimal one just before it: the machine's load drifts, and a pair
  // shares it.
  std::vector<double> paired, paired_items;
  for (int i = 0; i < runs; ++i)
    if (minimal[i] > 0 && toolbox[i] > 0 && launcher[i] > 0) {
      paired.push_back(toolbox[i] / minimal[i]);
      paired_items.push_back(launcher[i] / minimal[i]);
    }
  std::printf("start-up under Wine to the main window shown and painted; %d runs each, alternating\n", runs);
  std::printf("  %-22s %11s   %20s   %20s\n", "", "median", "quartiles", "range");
  print("minimal Win32 window", m);
  print("toolbox, no set.ini", t);
  print("toolbox, 1,000 items", l);
  std::printf("  ratio of medians       %8.2f x without items, %.2f x with 1,000 (goal: within 1.30 x)\n",
              t.median / m.median, l.median / m.median);
  std::printf("  median of paired ratios %7.2f x without items, %.2f x with 1,000\n", spread(paired).median,
              spread(paired_items).median);
  std::printf("to the launcher filled and painted:\n");
  print("toolbox, no set.ini", spread(toolbox_list));
  print("toolbox, 1,000 items", spread(launcher_list));
  std::printf("  the list follows the window by %.1f ms with 1,000 items (goal: the list within 500 ms)\n",
              spread(launcher_list).median - l.median);
  return 0;
}
