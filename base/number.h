// Numbers shown and typed as text: signed decimal out; in, through floating point,
// truncated toward zero, with empty or non-numeric text reading as 0.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tb {

// The leading decimal number of the text (spaces before it allowed); 0 when there is none.
double text_to_double(std::string_view s);
// text_to_double truncated toward zero and clamped to the 64-bit range.
std::int64_t text_to_int(std::string_view s);
std::string int_to_text(std::int64_t v);

}  // namespace tb
