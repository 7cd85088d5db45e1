#include "radar/pictures.h"

#include <cstdlib>

namespace tb::radar {

namespace {
constexpr int kRadius = 11;  // ring radius in pixels
constexpr int kArm = 13;     // the cross hair reaches this far from the centre
constexpr int kGap = 4;      // the cross hair leaves the centre open up to here
}  // namespace

bool target_ink(int dx, int dy) {
  const int d2 = dx * dx + dy * dy;
  // Ring about 2 pixels thick: radius between kRadius - 1 and kRadius + 1 (squared bounds).
  if (d2 >= (kRadius - 1) * (kRadius - 1) && d2 <= (kRadius + 1) * (kRadius + 1) - kRadius) return true;
  if (dx == 0 && std::abs(dy) >= kGap && std::abs(dy) <= kArm) return true;
  if (dy == 0 && std::abs(dx) >= kGap && std::abs(dx) <= kArm) return true;
  return std::abs(dx) <= 1 && std::abs(dy) <= 1 && (dx == 0 || dy == 0);  // small centre cross
}

MonoCursor target_cursor() {
  MonoCursor c;
  constexpr int n = MonoCursor::kSize;
  auto ink = [](int x, int y) {
    return x >= 0 && y >= 0 && x < n && y < n && target_ink(x - MonoCursor::kHotX, y - MonoCursor::kHotY);
  };
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const int byte = y * (n / 8) + x / 8;
      const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
      bool black = ink(x, y);
      // A white rim around the black lines keeps the cursor visible on dark windows.
      bool rim = false;
      for (int oy = -1; oy <= 1 && !black && !rim; ++oy)
        for (int ox = -1; ox <= 1 && !rim; ++ox) rim = ink(x + ox, y + oy);
      if (!black && !rim) c.and_mask[byte] |= bit;
      if (rim) c.xor_mask[byte] |= bit;
    }
  }
  return c;
}

PanelPicture panel_picture(bool with_icon) {
  PanelPicture p;
  p.bgr.assign(PanelPicture::kStride * PanelPicture::kHeight, kPanelGrey);
  if (!with_icon) return p;
  const int cx = PanelPicture::kWidth / 2, cy = PanelPicture::kHeight / 2;
  for (int y = 0; y < PanelPicture::kHeight; ++y)
    for (int x = 0; x < PanelPicture::kWidth; ++x)
      if (target_ink(x - cx, y - cy))
        for (int k = 0; k < 3; ++k) p.bgr[y * PanelPicture::kStride + x * 3 + k] = 0;
  return p;
}

}  // namespace tb::radar
