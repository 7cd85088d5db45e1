// The system's file-dialog filter list built from "description|pattern|..." text.
#pragma once
#include <string>
#include <string_view>

namespace tb {

// Splits at every "|" (never inside a two-byte character) and joins the pieces with one NUL
// each; the list ends with two NULs. Pieces are taken as they come: "*.bmp" alone is one
// description without a pattern.
std::string build_filter_list(std::string_view filter);

}  // namespace tb
