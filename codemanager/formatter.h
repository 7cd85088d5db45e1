// Script formatter: re-indents macro-script source by its block keywords, four spaces per
// level, and drops blank lines. Its output is what the code manager saves back to disk.
#pragma once
#include <string>
#include <string_view>

namespace tb {

// GBK text with "\r\n" line ends in; every kept line comes out as indentation, the line
// trimmed of spaces and full-width spaces (tabs kept, letter case kept), and "\r\n".
std::string FormatScript(std::string_view text);

}  // namespace tb
