// Time of one move step of the radar's pick gesture under Wine: reading the window under the
// mouse, rewriting every box and, when the window changes, moving the outline. Prints a table;
// it never fails on timing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/window.h"
#include "radar/radar.h"
#include "radar/radar_window.h"
#include "tests/win/radar/radar_driver.h"

using namespace radar_test;

namespace {

double now_ms() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

struct Figures {
  double mean, median, p95;
};

Figures figures(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  double sum = 0;
  for (double x : v) sum += x;
  return {sum / static_cast<double>(v.size()), v[v.size() / 2], v[v.size() * 95 / 100]};
}

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

  const RECT top = window_rect(t.top);
  const std::vector<POINT> same{{top.right - 30, top.bottom - 30}, {top.right - 31, top.bottom - 31}};
  const std::vector<POINT> alternating{{top.right - 30, top.bottom - 30}, centre(window_rect(t.child))};
  const int moves = 300;

  std::printf("radar move step under Wine, %d moves per row (ms per move)\n", moves);
  std::printf("%-30s %-11s %8s %8s %8s %14s\n", "mouse path", "name cache", "mean", "median", "p95",
              "+repaint mean");
  for (bool cache : {false, true}) {
    for (int kind = 0; kind < 2; ++kind) {
      r->process_names().set_cache(cache);
      std::vector<double> step, painted;
      drag(r, kind == 0 ? same : alternating, moves, step, painted);
      Figures f = figures(step), p = figures(painted);
      std::printf("%-30s %-11s %8.3f %8.3f %8.3f %14.3f\n",
                  kind == 0 ? "within one top-level window" : "top-level and child in turn", cache ? "on" : "off",
                  f.mean, f.median, f.p95, p.mean);
    }
  }
  std::fflush(stdout);
  r->close();
  return 0;
}
