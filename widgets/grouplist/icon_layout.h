// Where an item row's service icons sit: one layout for the painter and the click and hover
// tests, so what is drawn is what is hit.
#pragma once
#include <vector>

namespace tb::grouplist {

// Design pixels (96 DPI) to device pixels, rounded as MulDiv does.
inline int scale_px(int v, int dpi) { return dpi == 96 ? v : (v * dpi + (v >= 0 ? 48 : -48)) / 96; }

struct IconSlot {
  int left, top, right, bottom;  // row coordinates, right and bottom exclusive
  int number;                    // 1-based cell of the strip
};

// Lays out the item's icons left to right from x 50 on the line row_height - 19, 16 x 16 with
// a 2-pixel gap. Numbers outside 1..loaded take no slot. Sizes scale with dpi.
void lay_out_icons(int loaded, const std::vector<int>& icons, int row_height, int dpi,
                   std::vector<IconSlot>& out);

// The 1-based place of the first slot holding (x, y) strictly inside its edges; 0 for none.
int icon_at(const std::vector<IconSlot>& slots, int x, int y);

}  // namespace tb::grouplist
