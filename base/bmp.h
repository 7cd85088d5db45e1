// BMP files: the classic 24-bit form picture-search tools read, and the file form of a
// clipboard DIB. Portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/fileio.h"

namespace tb {

// `pixels` are 0x00RRGGBB, top row first, `width` a row. Empty for a size of 0 or less.
std::string bmp24_file(const std::uint32_t* pixels, int width, int height);
// The same file handed to `sink` in pieces of about 1 MB; false for a size of 0 or less, or
// when the sink refused a piece.
bool write_bmp24(const std::uint32_t* pixels, int width, int height, const ByteSink& sink);

// A packed DIB (info header of 40, 52, 56, 108 or 124 bytes, masks, colour table, pixels) as
// a BMP file: a 14-byte file header in front of the DIB bytes, unchanged. "" when the DIB is
// truncated or its header does not describe the bytes that follow.
std::string bmp_file_from_dib(std::string_view dib);
// What a packed DIB's header says, checked against its bytes. `pixel_offset` is where the
// pixels start (after header, masks and colour table); 0 when the DIB is truncated or its
// header does not describe the bytes that follow.
struct DibLayout {
  std::size_t pixel_offset = 0;
  std::uint32_t header_size = 0, compression = 0, bits = 0;
  std::int32_t width = 0, height = 0;  // a negative height: rows top-down
  std::uint32_t alpha_mask = 0;        // V4 and V5 headers only
};
DibLayout dib_layout(std::string_view dib);

}  // namespace tb
