#include "base/bmp.h"

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

std::string bmp24_file(const std::uint32_t* pixels, int width, int height) {
  if (!pixels || width <= 0 || height <= 0) return {};
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t image = stride * static_cast<std::uint64_t>(height);
  if (image > 0xFFFFFFFFu - 54) return {};  // the header's sizes are 32 bits
  std::string out;
  out.reserve(static_cast<std::size_t>(54 + image));
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
  const std::size_t pad = static_cast<std::size_t>(stride) - static_cast<std::size_t>(width) * 3;
  for (int y = height - 1; y >= 0; --y) {
    const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      out += static_cast<char>(row[x] & 0xFF);          // blue
      out += static_cast<char>((row[x] >> 8) & 0xFF);   // green
      out += static_cast<char>((row[x] >> 16) & 0xFF);  // red
    }
    out.append(pad, '\0');
  }
  return out;
}

}  // namespace tb
