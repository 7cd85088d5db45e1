// Time of one move step of the radar's pick gesture under Wine: reading the window under the
// mouse, rewriting the boxes whose text changed and, when the window changes, moving the
// outline. Rows: the pointer still within one window, alternating between a window and its
// child (one process), and alternating between windows of two other processes, which is what
// a user's drag across the desktop does. Prints a table; it never fails on timing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/window.h"
#include "radar/radar.h"
#include "radar/radar_window.h"
#include "tests/win/radar/radar_driver.h"
#include "bench/win/bench_clock.h"

using namespace radar_test;

using tb::test::figures;
using tb::test::Figures;
using tb::test::now_ms;
using tb::test::now_us;

namespace {

// Runs `moves` steps of one drag over the given points in turn; returns the step times and
// the step-plus-repaint times.
void drag(tb::radar::RadarWindow* r, const std::vector<POINT>& points, int moves, std::vector<double>& step,
          std::vector<double>& with_paint) {
  move_to(centre(window_rect(r->control("画板1"))));
  pump(20);
  r->begin_pick();
  for (int i = -20; i < moves; ++i) {  // the first 20 warm up
    POINT p = points[static_cast<std::size_t>(i + 20) % points.size()];
    SetCursorPos(p.x, p.y);
    double t0 = now_ms();
    r->track();
    double t1 = now_ms();
    RedrawWindow(r->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    double t2 = now_ms();
    if (i >= 0) {
      step.push_back(t1 - t0);
      with_paint.push_back(t2 - t0);
    }
    pump();
  }
  r->end_pick();
  pump(20);
}

// A second target process; its second window (another class, a long title, another size) is
// moved below the first process's windows.
struct SecondTarget {
  PROCESS_INFORMATION pi{};
  HWND top = nullptr;
  explicit SecondTarget(const std::wstring& path) {
    std::wstring cmd = L"\"" + path + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    wait_until([this] {
      EnumWindows(&match, reinterpret_cast<LPARAM>(this));
      return top && IsWindowVisible(top);
    }, 20000);
    if (top) SetWindowPos(top, nullptr, 920, 480, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump(300);
  }
  ~SecondTarget() {
    if (top) PostMessageW(top, WM_CLOSE, 0, 0);
    if (pi.hProcess) {
      if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }
  static BOOL CALLBACK match(HWND w, LPARAM lp) {
    auto* t = reinterpret_cast<SecondTarget*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == t->pi.dwProcessId && class_of(w) == radar_target::kLongClass) t->top = w;
    return TRUE;
  }
};

}  // namespace

int main() {
  tb::init_framework(GetModuleHandleW(nullptr));
  Target& t = Target::get();
  if (!t.ok()) {
    std::fprintf(stderr, "the target process did not start\n");
    return 1;
  }
  if (!tb::radar::open()) return 1;
  tb::radar::RadarWindow* r = tb::radar::current();
  pump(300);

  SecondTarget other(t.path);
  if (!other.top) {
    std::fprintf(stderr, "the second target process did not start\n");
    return 1;
  }

  const RECT top = window_rect(t.top), top2 = window_rect(other.top);
  struct Path {
    const char* name;
    std::vector<POINT> points;
  };
  const Path paths[] = {
      {"within one top-level window", {{top.right - 30, top.bottom - 30}, {top.right - 31, top.bottom - 31}}},
      {"window and child, 1 process", {{top.right - 30, top.bottom - 30}, centre(window_rect(t.child))}},
      {"windows of 2 processes", {{top.right - 30, top.bottom - 30}, {top2.right - 30, top2.bottom - 30}}},
  };
  const int moves = 300;
  std::printf("radar move step under Wine, %d moves per row (ms per move)\n", moves);
  std::printf("%-30s %-11s %8s %8s %8s %14s %14s\n", "mouse path", "name cache", "mean", "median", "p95",
              "+repaint mean", "+repaint med");
  for (bool cache : {false, true}) {
    for (const Path& path : paths) {
      r->process_names().set_cache(cache);
      std::vector<double> step, painted;
      drag(r, path.points, moves, step, painted);
      Figures f = figures(step), p = figures(painted);
      std::printf("%-30s %-11s %8.3f %8.3f %8.3f %14.3f %14.3f\n", path.name, cache ? "on" : "off", f.mean, f.median,
                  f.p95, p.mean, p.median);
    }
  }
  std::fflush(stdout);
  r->close();
  return 0;
}
