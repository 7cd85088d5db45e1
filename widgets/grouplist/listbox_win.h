// The rows of a list control in a real owner-drawn "ListBox". Heights are kept in design
// pixels by the model and scaled to the list's DPI here, so the model's numbers never change.
#pragma once
#include <windows.h>

#include "platform/handles.h"
#include "widgets/grouplist/events_win.h"
#include "widgets/grouplist/host.h"

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
  // Paints the row at once through the row painter.
  void redraw_row(int index) override;
  void refresh(bool erase_background) override;
  void pause(int ms) override;
  void start_flash_timer() override;

  int dpi() const override { return dpi_; }
  int scale(int v) const { return MulDiv(v, dpi_, 96); }
  // Takes the list's messages and those of its parent for the list, until this object goes.
  void handle_messages(HWND parent);
  // Rescales every row and the list's font to a new DPI.
  void set_dpi(int dpi);
  // The brush behind the rows, made once per colour.
  HBRUSH background_brush(COLORREF c);

 private:
  class Held;
  LRESULT send(UINT msg, WPARAM w, LPARAM l) const { return SendMessageW(hwnd_, msg, w, l); }
  void set_font();
  HWND hwnd_;
  int dpi_;
  GdiFont font_;  // lives as long as the list that uses it
  GdiBrush brush_;
  COLORREF brush_colour_ = 0;
  MessageHooks hooks_;
};

// The row font: 12 pixels (scaled), "宋体", weight 400, default character set, character
// precisions, default quality, modern family.
GdiFont make_row_font(int dpi);

}  // namespace tb::grouplist
