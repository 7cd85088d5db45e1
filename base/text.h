// GBK byte-string rules shared by every subsystem. A byte of 0x80 or above starts a
// two-byte character; no operation here splits one or matches inside one.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

constexpr std::size_t npos = std::string_view::npos;

inline bool is_lead_byte(unsigned char c) { return c >= 0x80; }

// Length in bytes of the character starting at pos (1 or 2; 1 for a lone lead byte at the end).
inline std::size_t char_len(std::string_view s, std::size_t pos) {
  return (is_lead_byte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

// True when pos is the start of a character (or the end) when walking from the front.
bool is_char_boundary(std::string_view s, std::size_t pos);

// Largest character boundary not above n: used to cut text to a byte limit.
std::size_t floor_boundary(std::string_view s, std::size_t n);

// Trimming removes ASCII spaces and the full-width space A1 A1, never tabs.
std::string_view trim_left(std::string_view s);
std::string_view trim_right(std::string_view s);
std::string_view trim(std::string_view s);

// Case folding touches only ASCII letters; the second byte of a two-byte character is kept.
std::string to_upper(std::string_view s);
std::string to_lower(std::string_view s);
bool equals_ignore_case(std::string_view a, std::string_view b);

// Cuts at every occurrence of sep, keeps empty inner pieces, drops an empty last piece.
std::vector<std::string> split(std::string_view s, std::string_view sep);

// Position of needle in s at or after from (itself a character boundary), on character
// boundaries only; npos if absent.
std::size_t find(std::string_view s, std::string_view needle, std::size_t from = 0,
                 bool ignore_case = false);
// Last occurrence on a character boundary; npos if absent.
std::size_t rfind(std::string_view s, std::string_view needle, bool ignore_case = false);

// The text between the first left marker and the next right marker after it; "" if either is missing.
std::string between(std::string_view s, std::string_view left, std::string_view right);

// Replaces the first occurrence of from (ASCII letter case ignored) by to.
std::string replace_first_ignore_case(std::string_view s, std::string_view from, std::string_view to);

bool starts_with_ignore_case(std::string_view s, std::string_view prefix);

}  // namespace tb
