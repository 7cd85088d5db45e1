// The classic BMP file: 24 bits per pixel, BITMAPINFOHEADER, rows bottom-up and padded to
// four bytes, as picture-search tools read it. Portable.
#pragma once
#include <cstdint>
#include <string>

namespace tb {

// `pixels` are 0x00RRGGBB, top row first, `width` a row. Empty for a size of 0 or less.
std::string bmp24_file(const std::uint32_t* pixels, int width, int height);

}  // namespace tb
