// Cost of the list control's painting under Wine: one row of each layout, and hovering across
// 1,000 rows of long lists (time per move and rows repainted per move). Prints a table; it
// never fails on timing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/win/grouplist/list_driver.h"
#include "tests/support/grouplist/testing_win.h"
#include "bench/win/bench_clock.h"

using namespace list_test;

using tb::test::figures;
using tb::test::Figures;
using tb::test::now_ms;
using tb::test::now_us;

namespace {

void one_row_of_each_layout() {
  std::printf("painting one row (us per row, 2,000 paints each)\n");
  std::printf("%-34s %8s %8s %8s\n", "row", "mean", "median", "p95");
  struct Case {
    const char* what;
    int view;
    bool hover;
  } cases[] = {{"group row", 0, false},
               {"large item (54)", 0, false},
               {"large item, hovered, 3 icons", 0, true},
               {"medium item (30)", 1, false},
               {"small item (20)", 2, false}};
  for (const Case& c : cases) {
    ListDriver d(c.view, false, 240, 300);
    for (int k = 1; k <= 3; ++k) d.list.AddServiceIcon(bmp_file(16, 16, 0x3050E0, 0xFF00FF, 4));
    int g = d.group("我的工具", true, 0x800000);
    d.item(g, "按键精灵脚本", true, 0x3070C0, {1, 2, 3}, "写脚本用的工具", 0x0000C0);
    pump(50);
    int row = c.what[0] == 'g' ? 0 : 1;
    if (c.hover) d.send(WM_MOUSEMOVE, 60, d.row_rect(1).top + 42);
    std::vector<double> t;
    for (int i = -50; i < 2000; ++i) {
      double t0 = now_us();
      paint_row(d.hwnd(), row);
      double t1 = now_us();
      if (i >= 0) t.push_back(t1 - t0);
    }
    Figures f = figures(t);
    std::printf("%-34s %8.1f %8.1f %8.1f\n", c.what, f.mean, f.median, f.p95);
  }
}

void hover_across(int items) {
  ListDriver d(1, true, 240, 960, 20, 20);
  int groups = 10;
  std::vector<int> gs;
  for (int k = 0; k < groups; ++k) gs.push_back(d.group("分组", true, 0));
  ItemRecord r;
  r.avatar = bmp_file(32, 32, 0x3070C0);
  r.online = true;
  r.name = "项目";
  for (int i = 0; i < items; ++i) {
    r.group = gs[static_cast<std::size_t>(i % groups)];
    d.list.AddItem(r, {}, false);
  }
  pump(50);
  const int rows = items + groups;
  const int first = std::min(items / 2, rows - 1000);  // from the middle where there is room
  std::vector<double> t;
  std::vector<int> painted;
  int most = 0;
  for (int row = first; row < first + 1000; ++row) {
    RECT rc = d.row_rect(row);
    RECT client;
    GetClientRect(d.hwnd(), &client);
    if (rc.top < 0 || rc.bottom > client.bottom) {
      SendMessageW(d.hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
      UpdateWindow(d.hwnd());
      rc = d.row_rect(row);
    }
    std::uint64_t n0 = rows_painted();
    double t0 = now_us();
    d.send(WM_MOUSEMOVE, 100, (rc.top + rc.bottom) / 2);
    double t1 = now_us();
    int n = static_cast<int>(rows_painted() - n0);
    t.push_back(t1 - t0);
    painted.push_back(n);
    most = std::max(most, n);
  }
  double sum = 0;
  for (int n : painted) sum += n;
  Figures f = figures(t);
  std::printf("%-10d %10.1f %10.1f %10.1f %12.2f %12d %12.1f\n", items, f.mean, f.median, f.p95,
              sum / static_cast<double>(painted.size()), most, f.mean / std::max(1.0, sum / painted.size()));
}

}  // namespace

int main() {
  one_row_of_each_layout();
  std::printf("\nhovering across 1,000 rows, medium view (us per move)\n");
  std::printf("%-10s %10s %10s %10s %12s %12s %12s\n", "items", "mean", "median", "p95", "rows/move", "max rows",
              "us per row");
  for (int items : {1000, 10000}) hover_across(items);
  std::fflush(stdout);
  return 0;
}
