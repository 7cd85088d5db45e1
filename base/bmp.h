// BMP files: the classic 24-bit form picture-search tools read, and the file form of a
// clipboard DIB. Portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tb {

// `pixels` are 0x00RRGGBB, top row first, `width` a row. Empty for a size of 0 or less.
std::string bmp24_file(const std::uint32_t* pixels, int width, int height);

// A packed DIB (info header of 40, 52, 56, 108 or 124 bytes, masks, colour table, pixels) as
// a BMP file: a 14-byte file header in front of the DIB bytes, unchanged. "" when the DIB is
// truncated or its header does not describe the bytes that follow.
std::string bmp_file_from_dib(std::string_view dib);
// Where the pixels of that DIB start (after header, masks and colour table); 0 when the DIB
// is truncated or its header does not describe the bytes that follow.
std::size_t dib_pixel_offset(std::string_view dib);

}  // namespace tb
