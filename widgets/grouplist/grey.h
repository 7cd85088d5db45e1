// The grey avatar of an offline item: every pixel becomes g, g, g with
// g = 0.3 R + 0.59 G + 0.11 B truncated. Integer arithmetic keeps it exact (white stays 255).
#pragma once
#include <cstddef>
#include <cstdint>

namespace tb::grouplist {

inline unsigned grey_level(unsigned red, unsigned green, unsigned blue) {
  return (30 * red + 59 * green + 11 * blue) / 100;
}

// Pixels in memory order B, G, R, X (a 32-bit DIB section); the fourth byte is kept.
inline void grey_pixels(std::uint8_t* bgrx, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i, bgrx += 4) {
    auto g = static_cast<std::uint8_t>(grey_level(bgrx[2], bgrx[1], bgrx[0]));
    bgrx[0] = bgrx[1] = bgrx[2] = g;
  }
}

}  // namespace tb::grouplist
