#include "widgets/grouplist/icon_layout.h"

namespace tb::grouplist {

void lay_out_icons(int loaded, const std::vector<int>& icons, int row_height, int dpi,
                   std::vector<IconSlot>& out) {
  out.clear();
  const int size = scale_px(16, dpi), step = scale_px(18, dpi);
  const int top = row_height - scale_px(19, dpi);
  int left = scale_px(50, dpi);
  for (int n : icons) {
    if (n < 1 || n > loaded) continue;
    out.push_back({left, top, left + size, top + size, n});
    left += step;
  }
}

int icon_at(const std::vector<IconSlot>& slots, int x, int y) {
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const IconSlot& s = slots[k];
    if (x > s.left && x < s.right && y > s.top && y < s.bottom) return static_cast<int>(k) + 1;
  }
  return 0;
}

}  // namespace tb::grouplist
