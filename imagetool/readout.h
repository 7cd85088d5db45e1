// The image tool's readout in the text forms the macro language uses, and colour separation.
// Colours are GDI values 0x00BBGGRR (red in the low byte); 0xFFFFFFFF is an unreadable pixel.
// Portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tb::imagetool {

constexpr std::uint32_t kUnreadable = 0xFFFFFFFF;

// The colour as a signed decimal integer: "255", "16777215", "-1".
std::string decimal_colour(std::uint32_t colour);
// Upper-case hexadecimal without prefix, padded with zeros in front to 6 characters; longer
// texts stay as they are ("0000FF", "FFFFFF", "FFFFFFFF").
std::string hex_colour(std::uint32_t colour);
// Upper case, then value = value * 16 + digit for each character, a character outside
// 0-9A-F counting -2; in floating point, truncated toward zero to 32 bits after each step.
std::int32_t hex_to_number(std::string_view text);

struct Components {
  int r = 0, g = 0, b = 0;
};
// Characters 5-6 (red), 3-4 (green) and 1-2 (blue) of a hexadecimal text, each pair read as
// a number; a missing pair reads as 0.
Components components(std::string_view hex_text);

// "X,Y" of the mouse relative to the bound origin.
std::string coordinate_text(int x, int y, int origin_x, int origin_y);
// What a slot shows: coordinate text, one space, hexadecimal text.
std::string slot_text(std::string_view coordinate, std::string_view hex);

// Every pixel (0x00RRGGBB, as a DIB holds them) whose colour is not exactly `keep` becomes
// `background`; both are GDI colours. A keep colour with bits above 24 matches no pixel.
void separate_colours(std::uint32_t* pixels, std::size_t count, std::uint32_t keep, std::uint32_t background);

}  // namespace tb::imagetool
