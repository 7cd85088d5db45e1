// Pixel content of the radar's stored pictures, built by code: the monochrome target
// cursor and the two panel pictures (with and without the target icon).
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace tb::radar {

// 32 x 32 monochrome cursor; masks are rows of 4 bytes, most significant bit leftmost.
// AND 0 / XOR 0 is black, AND 0 / XOR 1 white, AND 1 / XOR 0 transparent.
struct MonoCursor {
  static constexpr int kSize = 32;
  static constexpr int kHotX = 16;
  static constexpr int kHotY = 15;
  std::array<std::uint8_t, kSize * kSize / 8> and_mask{};
  std::array<std::uint8_t, kSize * kSize / 8> xor_mask{};
};
MonoCursor target_cursor();

// 44 x 38, 24 bits per pixel, top-down rows of blue, green, red (132 bytes: no row padding).
struct PanelPicture {
  static constexpr int kWidth = 44;
  static constexpr int kHeight = 38;
  static constexpr int kStride = kWidth * 3;
  std::vector<std::uint8_t> bgr;
};
constexpr std::uint8_t kPanelGrey = 0xEC;  // the background 0xECECEC
PanelPicture panel_picture(bool with_icon);

// The target's ink at offset (dx, dy) from its centre: a ring with a cross hair and a
// centre dot, the same figure in the icon and the cursor.
bool target_ink(int dx, int dy);

}  // namespace tb::radar
