// Script translator: a Chinese reading and a statement-class colour for every line of a
// macro script, taken from the formatter's output so both views show its indentation.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// One line shown in both views of the code manager.
struct TranslationEntry {
  std::string source;        // the formatted line: leading spaces and letter case unchanged
  std::string reading;       // indent prefix followed by the rule's text
  std::uint32_t colour = 0;  // of both shown lines, 0x00BBGGRR as GDI takes it
};

// Formats the whole text and translates every non-blank line; a line whose rule yields no
// entry is left out.
std::vector<TranslationEntry> TranslateText(std::string_view text);

// line must not be blank; indent is the reading's prefix (spaces). Empty when the rule that
// decides yields no entry.
std::optional<TranslationEntry> TranslateLine(std::string_view line, std::string_view indent);

// Chinese name of a virtual-key code, or empty text.
std::string KeyName(std::int32_t code);

}  // namespace tb
