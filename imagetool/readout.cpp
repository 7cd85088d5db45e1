#include "imagetool/readout.h"

#include <cmath>
#include <cstdio>

#include "base/colour.h"
#include "base/text.h"

namespace tb::imagetool {

std::string decimal_colour(std::uint32_t colour) { return std::to_string(static_cast<std::int32_t>(colour)); }

std::string hex_colour(std::uint32_t colour) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(colour));
  std::string s = buf;
  if (s.size() < 6) s.insert(0, 6 - s.size(), '0');
  return s;
}

std::int32_t hex_to_number(std::string_view text) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  double value = 0;
  for (std::size_t i = 0; i < text.size(); i += char_len(text, i)) {
    // A two-byte character is one character that is no digit; its second byte is never
    // folded or matched on its own.
    double digit = -2.0;
    if (char_len(text, i) == 1) {
      const char ch = text[i];
      const char up = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
      const std::size_t at = kDigits.find(up);
      if (at != std::string_view::npos) digit = static_cast<double>(at);
    }
    // Truncated to 32 bits after each step, as the macro language's integer does; a value
    // beyond 32 bits wraps rather than being undefined.
    const double next = std::trunc(value * 16 + digit);
    value = static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(
        static_cast<std::int64_t>(std::fmod(next, 4294967296.0)))));
  }
  return static_cast<std::int32_t>(value);
}

Components components(std::string_view hex_text) {
  auto pair = [&](std::size_t at) {
    return at < hex_text.size() ? hex_to_number(hex_text.substr(at, 2)) : 0;
  };
  return {pair(4), pair(2), pair(0)};
}

std::string coordinate_text(int x, int y, int origin_x, int origin_y) {
  return std::to_string(static_cast<long long>(x) - origin_x) + "," + std::to_string(static_cast<long long>(y) - origin_y);
}

std::string slot_text(std::string_view coordinate, std::string_view hex) {
  std::string s(coordinate);
  s += ' ';
  s += hex;
  return s;
}

void separate_colours(std::uint32_t* pixels, std::size_t count, std::uint32_t keep, std::uint32_t background) {
  const std::uint32_t bg = colour::to_pixel(background);
  // A keep colour beyond 24 bits is no pixel's colour: every pixel becomes the background.
  const bool any = keep <= 0xFFFFFF;
  const std::uint32_t k = colour::to_pixel(keep);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = pixels[i] & 0xFFFFFF;
    pixels[i] = (any && p == k) ? pixels[i] : bg;
  }
}

}  // namespace tb::imagetool
