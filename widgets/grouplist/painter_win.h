// The row painter of the list control: one row composed off screen and copied to the list in
// one block.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/double_buffer.h"

namespace tb::grouplist {

class Instance;

// Paints the rows of one list window and keeps what that needs from row to row: the surface a
// row is composed on (made again when the list's width changes or a taller row comes) and the
// service icon strip's pixels (read again when the strip changes). Its list window owns it.
class RowPainter {
 public:
  // Paints row `row` of `list` as the instance's state says, in `font` at `dpi`. Without a
  // rectangle the list box gives the row's; without a DC the list window's is taken and
  // released. False when nothing was drawn: a row naming no element or out of sight.
  bool paint(HWND list, const Instance& in, int row, const RECT* rect, HDC dc, HFONT font, int dpi);

 private:
  const std::vector<std::uint32_t>& strip_pixels(const Instance& in, HDC dc);

  // A 32-bit DIB section: GDI draws shapes and text, and the keyed copies (arrow, service
  // icons) are done on its pixels, which under Wine is many times faster than TransparentBlt.
  BackBuffer surface_{true};
  std::intptr_t strip_ = 0;
  int strip_count_ = -1;
  std::vector<std::uint32_t> strip_pixels_;
};

}  // namespace tb::grouplist
