// Colours in the two orders Win32 uses: GDI's COLORREF, 0x00BBGGRR (red in the low byte), and
// the pixel of a 32-bit DIB section, 0x00RRGGBB (blue in the low byte, bytes B, G, R, X in
// memory). One set of helpers, so no caller swaps bytes by hand.
#pragma once
#include <cstdint>

namespace tb::colour {

// ---- COLORREF order, 0x00BBGGRR ----
constexpr std::uint32_t colorref(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr std::uint32_t red(std::uint32_t colorref) { return colorref & 0xFF; }
constexpr std::uint32_t green(std::uint32_t colorref) { return (colorref >> 8) & 0xFF; }
constexpr std::uint32_t blue(std::uint32_t colorref) { return (colorref >> 16) & 0xFF; }

// ---- DIB pixel order, 0x00RRGGBB ----
constexpr std::uint32_t pixel(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return ((red & 0xFF) << 16) | ((green & 0xFF) << 8) | (blue & 0xFF);
}
constexpr std::uint32_t pixel_red(std::uint32_t pixel) { return (pixel >> 16) & 0xFF; }
constexpr std::uint32_t pixel_green(std::uint32_t pixel) { return (pixel >> 8) & 0xFF; }
constexpr std::uint32_t pixel_blue(std::uint32_t pixel) { return pixel & 0xFF; }

// ---- Between the two; the top byte comes out 0 ----
constexpr std::uint32_t to_pixel(std::uint32_t colorref) {
  return pixel(red(colorref), green(colorref), blue(colorref));
}
constexpr std::uint32_t to_colorref(std::uint32_t pixel) {
  return colorref(pixel_red(pixel), pixel_green(pixel), pixel_blue(pixel));
}

}  // namespace tb::colour
