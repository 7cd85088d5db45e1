#include <doctest/doctest.h>

#include "base/bmp.h"
#include "base/colour.h"

namespace colour = tb::colour;

TEST_CASE("colour: COLORREF and DIB pixel orders") {
  struct Row {
    unsigned r, g, b;
    std::uint32_t colorref, pixel;
  } rows[] = {
      {0x12, 0x34, 0x56, 0x563412, 0x123456}, {255, 0, 0, 0x0000FF, 0xFF0000}, {0, 0, 255, 0xFF0000, 0x0000FF},
      {246, 248, 251, 0xFBF8F6, 0xF6F8FB},   {0, 0, 0, 0, 0},                 {255, 255, 255, 0xFFFFFF, 0xFFFFFF},
  };
  for (const Row& t : rows) {
    CAPTURE(t.colorref);
    CHECK(colour::colorref(t.r, t.g, t.b) == t.colorref);
    CHECK(colour::pixel(t.r, t.g, t.b) == t.pixel);
    CHECK(colour::to_pixel(t.colorref) == t.pixel);
    CHECK(colour::to_colorref(t.pixel) == t.colorref);
    CHECK(colour::red(t.colorref) == t.r);
    CHECK(colour::green(t.colorref) == t.g);
    CHECK(colour::blue(t.colorref) == t.b);
    CHECK(colour::pixel_red(t.pixel) == t.r);
    CHECK(colour::pixel_green(t.pixel) == t.g);
    CHECK(colour::pixel_blue(t.pixel) == t.b);
    // A DIB's fourth byte (alpha or padding) and out-of-range parts never reach the colour.
    CHECK(colour::to_colorref(t.pixel | 0xFF000000u) == t.colorref);
    CHECK(colour::to_pixel(t.colorref | 0x7F000000u) == t.pixel);
  }
  CHECK(colour::colorref(0x1FF, 0x100, 0x2AB) == 0xAB00FF);
  CHECK(colour::pixel(0x1FF, 0x100, 0x2AB) == 0xFF00AB);
}

TEST_CASE("classic BMP: 24 bits, bottom-up, rows padded to four bytes") {
  // 3 x 2: top row red, green, blue; bottom row white, black, grey.
  const std::uint32_t px[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
  const std::string f = tb::bmp24_file(px, 3, 2);
  auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(f[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(f[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(f[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(f[at + 3])) << 24;
  };
  REQUIRE(f.size() == 54 + 2 * 12);
  CHECK(f.substr(0, 2) == "BM");
  CHECK(u32(2) == f.size());
  CHECK(u32(10) == 54);
  CHECK(u32(14) == 40);
  CHECK(u32(18) == 3);
  CHECK(u32(22) == 2);
  CHECK(f[28] == 24);
  // First stored row is the bottom one, in B, G, R order, then 3 bytes of padding.
  CHECK(f.substr(54, 12) == std::string("\xFF\xFF\xFF\x00\x00\x00\x80\x80\x80\0\0\0", 12));
  CHECK(f.substr(66, 12) == std::string("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\0\0\0", 12));
  CHECK(tb::bmp24_file(px, 0, 2).empty());
}
