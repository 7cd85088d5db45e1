#include <doctest/doctest.h>

#include <algorithm>

#include "radar/pictures.h"

using namespace tb::radar;

TEST_CASE("the target cursor: black figure centred on the hot spot, white rim, clear border") {
  MonoCursor c = target_cursor();
  auto bit = [](const auto& mask, int x, int y) { return (mask[y * 4 + x / 8] & (0x80 >> (x % 8))) != 0; };
  // 0 black, 1 white, 2 clear, 3 inverted
  auto px = [&](int x, int y) { return (bit(c.and_mask, x, y) ? 2 : 0) + (bit(c.xor_mask, x, y) ? 1 : 0); };
  CHECK(px(MonoCursor::kHotX, MonoCursor::kHotY) == 0);
  int black = 0, white = 0, wrong = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int p = px(x, y);
      black += p == 0;
      white += p == 1;
      wrong += p == 3 || (p != 2 && (x == 0 || y == 0 || x == 31 || y == 31));
      // Symmetric about the hot spot, so the hot spot is the figure's centre.
      if (x > 0 && y < 31) wrong += px(x, y) != px(32 - x, y) || px(x, y) != px(x, 30 - y);
    }
  CHECK(wrong == 0);
  CHECK(black > 60);
  CHECK(white > black);
}

TEST_CASE("panel pictures: 44 x 38 on 0xECECEC, the icon in black in the middle") {
  PanelPicture empty = panel_picture(false), icon = panel_picture(true);
  REQUIRE(empty.bgr.size() == 44u * 38u * 3u);
  CHECK(std::all_of(empty.bgr.begin(), empty.bgr.end(), [](std::uint8_t b) { return b == 0xEC; }));
  REQUIRE(icon.bgr.size() == empty.bgr.size());
  CHECK(std::all_of(icon.bgr.begin(), icon.bgr.end(), [](std::uint8_t b) { return b == 0xEC || b == 0; }));
  auto blue = [&](int x, int y) { return icon.bgr[y * PanelPicture::kStride + x * 3]; };
  CHECK(std::count(icon.bgr.begin(), icon.bgr.end(), 0) > 180);
  CHECK(blue(22, 19) == 0);
  CHECK(blue(0, 0) == 0xEC);
  CHECK(blue(43, 37) == 0xEC);
}
