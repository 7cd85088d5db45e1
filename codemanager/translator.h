// Script translator: a Chinese reading and a statement-class colour for every line of a
// macro script, taken from the formatter's output so both views show its indentation.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// One line shown in both views of the code manager. The texts are views into the
// Translation that holds the entry and live as long as it does.
struct TranslationEntry {
  std::string_view source;   // the formatted line: leading spaces and letter case unchanged
  std::string_view reading;  // indent prefix followed by the rule's text
  std::uint32_t colour = 0;  // of both shown lines, 0x00BBGGRR as GDI takes it
};

// The entries of one text in line order. Their texts sit in a few large blocks owned here
// (one, sized from the input, for a typical script), never in a buffer per line; the blocks
// never move, so the views stay valid when a Translation is moved.
class Translation {
 public:
  Translation() = default;
  Translation(Translation&&) noexcept = default;
  Translation& operator=(Translation&&) noexcept = default;
  // A copy holds its own texts, in one block.
  Translation(const Translation& o);
  Translation& operator=(const Translation& o) { return *this = Translation(o); }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const TranslationEntry& operator[](std::size_t i) const { return entries_[i]; }
  std::vector<TranslationEntry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<TranslationEntry>::const_iterator end() const { return entries_.end(); }

 private:
  friend class TranslationBuilder;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<TranslationEntry> entries_;
};

// Formats the whole text and translates every non-blank line; a line whose rule yields no
// entry is left out.
Translation TranslateText(std::string_view text);

// Every line FormatScript keeps, in order: the code manager's views, which are saved back and
// so must never drop a line. A line TranslateText leaves out reads as an unknown line does.
Translation TranslateForViews(std::string_view text);

// line must not be blank; indent is the reading's prefix (spaces). Holds one entry, or none
// when the rule that decides yields no entry.
Translation TranslateLine(std::string_view line, std::string_view indent);

// Chinese name of a virtual-key code, or empty text.
std::string KeyName(std::int32_t code);

}  // namespace tb
