#include "base/bmp.h"

#include <algorithm>

namespace tb {

namespace {
void put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}
}  // namespace

bool write_bmp24(const std::uint32_t* pixels, int width, int height, const ByteSink& sink) {
  if (!pixels || width <= 0 || height <= 0) return false;
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t image = stride * static_cast<std::uint64_t>(height);
  if (image > 0xFFFFFFFFu - 54) return false;  // the header's sizes are 32 bits
  std::string out;
  out += "BM";
  put32(out, static_cast<std::uint32_t>(54 + image));
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);  // BITMAPINFOHEADER
  put32(out, static_cast<std::uint32_t>(width));
  put32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // BI_RGB
  put32(out, static_cast<std::uint32_t>(image));
  put32(out, 2835);  // 72 DPI
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  // The rows go out in pieces of about 1 MB: a large picture never needs its whole file in
  // memory, and the one piece's pages are reused.
  const auto row_bytes = static_cast<std::size_t>(stride);
  const std::size_t rows_a_piece = std::max<std::size_t>(1, (std::size_t{1} << 20) / row_bytes);
  for (int y = height - 1; y >= 0;) {
    const std::size_t at = out.size();
    const int rows = static_cast<int>(std::min<std::size_t>(rows_a_piece, static_cast<std::size_t>(y) + 1));
    out.resize(at + rows * row_bytes, '\0');  // the padding stays zero
    auto* dst = reinterpret_cast<unsigned char*>(out.data()) + at;
    for (int k = 0; k < rows; ++k, --y, dst += row_bytes) {
      const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      unsigned char* d = dst;
      for (int x = 0; x < width; ++x, d += 3) {
        const std::uint32_t p = row[x];
        d[0] = static_cast<unsigned char>(p);        // blue
        d[1] = static_cast<unsigned char>(p >> 8);   // green
        d[2] = static_cast<unsigned char>(p >> 16);  // red
      }
    }
    if (!sink(out)) return false;
    out.clear();
  }
  return true;
}

std::string bmp24_file(const std::uint32_t* pixels, int width, int height) {
  std::string file;
  if (!write_bmp24(pixels, width, height, [&file](std::string_view piece) {
        file.append(piece);
        return true;
      }))
    return {};
  return file;
}

}  // namespace tb

namespace tb {

namespace {
std::uint32_t get32(std::string_view s, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}
std::uint32_t get16(std::string_view s, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8;
}

enum : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kJpeg = 4, kPng = 5, kAlphaBitfields = 6 };
}  // namespace

DibLayout dib_layout(std::string_view dib) {
  const std::uint64_t n = dib.size();
  if (n < 40 || n > 0xFFFFFFFFu - 14) return {};  // a file's size field is 32 bits
  const std::uint32_t header = get32(dib, 0);
  if (header != 40 && header != 52 && header != 56 && header != 108 && header != 124) return {};
  if (header > n) return {};
  const std::int32_t width = static_cast<std::int32_t>(get32(dib, 4));
  const std::int32_t height = static_cast<std::int32_t>(get32(dib, 8));
  const std::uint32_t planes = get16(dib, 12), bits = get16(dib, 14);
  const std::uint32_t compression = get32(dib, 16), size_image = get32(dib, 20), colours_used = get32(dib, 32);
  if (width <= 0 || height == 0 || planes != 1) return {};
  const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;

  bool packed_rows = false;  // uncompressed rows whose size follows from the header
  switch (compression) {
    case kRgb:
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};
      packed_rows = true;
      break;
    case kBitfields:
    case kAlphaBitfields:
      if (bits != 16 && bits != 32) return {};
      packed_rows = true;
      break;
    case kRle8:
    case kRle4:
      if (bits != (compression == kRle8 ? 8u : 4u) || height < 0) return {};  // run-length rows are bottom-up
      break;
    case kJpeg:
    case kPng:
      if (bits != 0 && bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};
      break;
    default:
      return {};
  }

  // Only the plain 40-byte header keeps its masks after it; the later headers hold them.
  std::uint64_t masks = 0;
  if (header == 40 && compression == kBitfields) masks = 12;
  if (header == 40 && compression == kAlphaBitfields) masks = 16;
  std::uint64_t entries = colours_used;
  if (entries == 0 && bits >= 1 && bits <= 8) entries = std::uint64_t{1} << bits;
  if (entries > 256) return {};

  // The pixels start after the header, masks and table as this DIB has them. A fixed 52
  // bytes (40-byte header and three masks) is right only for 40-byte BI_BITFIELDS DIBs; a
  // 24-bit picture has no masks and a V5 header is 124 bytes, so their rows would shift.
  const std::uint64_t offset = header + masks + entries * 4;
  if (offset > n) return {};
  const std::uint64_t remaining = n - offset;
  if (packed_rows) {
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    if (rows > remaining / stride) return {};  // a division, so a huge declared size cannot overflow
  } else if (size_image == 0 || size_image > remaining) {
    return {};
  }

  DibLayout d;
  d.pixel_offset = static_cast<std::size_t>(offset);
  d.header_size = header;
  d.compression = compression;
  d.bits = bits;
  d.width = width;
  d.height = height;
  if (header >= 56) d.alpha_mask = get32(dib, 52);
  return d;
}

std::string bmp_file_from_dib(std::string_view dib) {
  const std::size_t offset = dib_layout(dib).pixel_offset;
  if (offset == 0) return {};
  const std::uint64_t n = dib.size();
  std::string out;
  out.reserve(static_cast<std::size_t>(14 + n));
  out += "BM";
  put32(out, static_cast<std::uint32_t>(14 + n));
  put32(out, 0);
  put32(out, static_cast<std::uint32_t>(14 + offset));
  out.append(dib);
  return out;
}

}  // namespace tb
