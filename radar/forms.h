// The radar's text forms and small rules, kept free of <windows.h> so they build and are
// tested natively.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tb::radar {

// Byte limits of the boxes: the class, title and path buffers of 50, 256 and 1024 bytes.
constexpr std::size_t kClassLimit = 49;
constexpr std::size_t kTitleLimit = 255;
constexpr std::size_t kPathLimit = 1023;

// Cuts GBK text to at most `limit` bytes without splitting a two-byte character.
std::string cut_to_bytes(std::string_view gbk, std::size_t limit);

// "left,top,right,bottom" with right = left + width and bottom = top + height.
std::string rect_text(int left, int top, int width, int height);

// A box read as a number: through floating point, truncated toward zero, "" and text that
// is not a number give 0. Clamped to the int range, as the window calls take ints.
int box_int(std::string_view text);
// A handle box read as a number (handles may exceed the int range on 64-bit Windows).
std::int64_t box_handle(std::string_view text);

// The opacity of scroll position P: P / 100 x 255 truncated; nothing for P <= 10, so the
// radar never makes a window (almost) invisible.
std::optional<int> alpha_for(int position);

// The three tip texts shown in turn, the first at start.
extern const std::array<std::string_view, 3> kTips;
// The tip that follows `current`; text that is none of the three is kept as it is.
std::string next_tip(std::string_view current);

// The Explorer command line that opens the program's folder with the file selected. The
// path is quoted so spaces and commas in it do not cut it short.
std::string explorer_command(std::string_view path);

}  // namespace tb::radar
