// The formatter's line walk, shared by FormatScript and TranslateText: the translator reads
// the formatted lines as they are produced instead of building and re-splitting the text.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tb::format_detail {

enum class LineClass { Routine, Opener, Closer, Middle, Other };

// Class of a trimmed, non-empty line, decided by its first word.
LineClass ClassifyLine(std::string_view body);

// Deeper levels are printed at this depth: one short line per level would otherwise make
// the output grow with the square of the input (1 MB of "If" lines asks for 137 GB).
inline constexpr std::int64_t kMaxIndentLevel = 32;

inline std::size_t IndentFor(std::int64_t level) {
  return level <= 0 ? 0 : 4 * static_cast<std::size_t>(std::min(level, kMaxIndentLevel));
}

// Calls emit(indent_spaces, body) for every kept line, in order. A lone lead byte at the very
// end of the text is dropped: it is half a character that no view can show, and followed by
// the appended "\r\n" it would swallow the line end.
template <class Emit>
void ForEachFormattedLine(std::string_view text, Emit&& emit) {
  const std::size_t n = text.size();
  std::int64_t level = 0;
  std::size_t i = 0;
  while (i < n) {
    // One pass over the line finds its end and its trimmed extent together.
    std::size_t first = std::string_view::npos;
    std::size_t last_end = 0;
    while (i < n) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c < 0x80) {
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') {
          i += 2;
          break;
        }
        if (c != ' ') {
          if (first == std::string_view::npos) first = i;
          last_end = i + 1;
        }
        ++i;
      } else if (i + 1 < n) {
        if (!(c == 0xA1 && static_cast<unsigned char>(text[i + 1]) == 0xA1)) {
          if (first == std::string_view::npos) first = i;
          last_end = i + 2;
        }
        i += 2;
      } else {
        ++i;  // the lone lead byte at the end
      }
    }
    if (first == std::string_view::npos) continue;  // blank line
    const std::string_view body = text.substr(first, last_end - first);
    switch (ClassifyLine(body)) {
      case LineClass::Routine:
        emit(std::size_t{0}, body);
        level = 1;
        break;
      case LineClass::Opener:
        emit(IndentFor(level), body);
        ++level;
        break;
      case LineClass::Closer:
        --level;
        emit(IndentFor(level), body);
        break;
      case LineClass::Middle:
        emit(IndentFor(level - 1), body);
        break;
      case LineClass::Other:
        emit(IndentFor(level), body);
        break;
    }
  }
}

}  // namespace tb::format_detail
