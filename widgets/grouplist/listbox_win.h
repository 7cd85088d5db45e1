// The rows of a list control in a real owner-drawn "ListBox". Heights are kept in design
// pixels by the model and scaled to the list's DPI here, so the model's numbers never change.
#pragma once
#include <windows.h>

#include "platform/handles.h"
#include "widgets/grouplist/events_win.h"
#include "widgets/grouplist/host.h"
#include "widgets/grouplist/painter_win.h"

namespace tb::grouplist {

class ListBoxWindow : public ListWindow {
 public:
  ListBoxWindow(HWND hwnd, int dpi);
  ~ListBoxWindow() override;
  ListBoxWindow(const ListBoxWindow&) = delete;
  ListBoxWindow& operator=(const ListBoxWindow&) = delete;

  std::intptr_t handle() const override { return reinterpret_cast<std::intptr_t>(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  int count() const override;
  void insert(int index, const RowSpec* rows, std::size_t n) override;
  void erase(int index, int n) override;
  std::intptr_t data(int index) const override;
  void set_data(int index, std::intptr_t data) override;
  int height(int index) const override;
  void set_height(int index, int height) override;
  // Paints the row at once (paint_row).
  void redraw_row(int index) override;
  void refresh(bool erase_background) override;
  void pause(int ms) override;
  void start_flash_timer() override;

  int dpi() const override { return dpi_; }
  int scale(int v) const { return MulDiv(v, dpi_, 96); }
  // Tests show a list at another DPI; the product sets it once, as the list is made.
  friend void set_dpi(ListBoxWindow& w, int dpi);
  // Takes the list's messages and those of its parent for the list, until this object goes.
  void handle_messages(HWND parent);
  // Paints row `index` now in the list's font (see RowPainter::paint); true when it was drawn.
  bool paint_row(int index, const RECT* rect = nullptr, HDC dc = nullptr);
  // The brush behind the rows, made once per colour.
  HBRUSH background_brush(COLORREF c);

 private:
  class Held;
  LRESULT send(UINT msg, WPARAM w, LPARAM l) const { return SendMessageW(hwnd_, msg, w, l); }
  void set_font();
  HWND hwnd_;
  int dpi_;
  GdiFont font_;  // the rows' font, and the list's own; lives as long as the list
  RowPainter painter_;
  GdiBrush brush_;
  COLORREF brush_colour_ = 0;
  MessageHooks hooks_;
};

// Called after every row painted, when set: how tests and benchmarks see the paints.
using RowPaintedHook = void (*)(HWND list, int row);
void set_row_painted_hook(RowPaintedHook hook);

}  // namespace tb::grouplist
