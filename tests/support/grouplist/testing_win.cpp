#include "tests/support/grouplist/testing_win.h"

#include <utility>

#include "widgets/grouplist/instance.h"

namespace tb::grouplist {

namespace {

std::uint64_t g_painted = 0;
std::function<void(HWND, int)> g_observer;

void on_row_painted(HWND list, int row) {
  ++g_painted;
  if (g_observer) g_observer(list, row);
}

}  // namespace

void paint_row(HWND list, int row) {
  if (Instance* in = find_instance(reinterpret_cast<std::intptr_t>(list))) in->window().redraw_row(row);
}

std::uint64_t rows_painted() {
  set_row_painted_hook(&on_row_painted);
  return g_painted;
}

void set_paint_observer(std::function<void(HWND, int)> observer) {
  set_row_painted_hook(&on_row_painted);
  g_observer = std::move(observer);
}

void set_dpi(ListBoxWindow& w, int dpi) {
  if (dpi <= 0 || dpi == w.dpi_) return;
  int n = w.count();
  for (int i = 0; i < n; ++i) {
    int design = w.height(i);
    w.send(LB_SETITEMHEIGHT, static_cast<WPARAM>(i), MAKELPARAM(MulDiv(design, dpi, 96), 0));
  }
  w.dpi_ = dpi;
  w.set_font();
  InvalidateRect(w.hwnd_, nullptr, TRUE);
}

}  // namespace tb::grouplist
