#include <doctest/doctest.h>

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
