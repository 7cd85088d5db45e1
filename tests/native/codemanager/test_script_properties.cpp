// Properties over random GBK text: valid and broken two-byte characters, lone lead bytes,
// full-width spaces, tabs, stray CR and LF, and the keywords that move the level.
#include <doctest/doctest.h>

#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "codemanager/formatter.h"
#include "codemanager/translator.h"

using namespace tb;

namespace {

std::string RandomScript(std::mt19937& rng) {
  static const char* const kPieces[] = {
      "If a Then", "If a Then b", "If \"Then\" Then", "End If", "EndIf", "For i = 1 To 3", "Next", "Do",
      "Loop", "Select Case x", "Case 1", "Else", "ElseIf", "Sub F()", "End Sub", "Function", "KeyPress 65,1",
      "FindPic 0,0,1,1,\"a\",0.9,x,y", "PutAttachment \"c:\",\"*\"", "Dim", "I = I + 1", "'", "//", "\"",
      ",", "to", "Then", " ", " ", "  ", "\xA1\xA1", "\t", "\r\n", "\r\n", "\r", "\n", "按键", "注释",
      "\xD6\x27", "\x81\x2F", "\x81" "A", "\xB0\xA1"};
  std::uniform_int_distribution<int> count(0, 40), byte(0, 255), high(0x80, 0xFF);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) + 3);
  std::string s;
  for (int n = count(rng); n > 0; --n) {
    std::size_t k = pick(rng);
    if (k < std::size(kPieces)) s += kPieces[k];
    else if (k == std::size(kPieces)) s += static_cast<char>(high(rng));
    else s += static_cast<char>(byte(rng));
  }
  if (byte(rng) < 64) s += static_cast<char>(high(rng));  // often a lone lead byte at the end
  return s;
}

// The text without a lone lead byte at its very end (half a character the formatter drops).
std::string_view WithoutLoneTail(std::string_view s) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < s.size(); i += char_len(s, i)) last = i;
  bool lone = !s.empty() && last == s.size() - 1 && static_cast<unsigned char>(s[last]) >= 0x80;
  return lone ? s.substr(0, last) : s;
}

std::size_t LeadingSpaces(std::string_view s) {
  std::size_t n = 0;
  while (n < s.size() && s[n] == ' ') ++n;
  return n;
}

bool EndsInLoneLead(std::string_view s) { return WithoutLoneTail(s).size() != s.size(); }

}  // namespace

TEST_CASE("random GBK text: formatting keeps every line whole and is idempotent") {
  std::mt19937 rng(20240531);
  for (int iter = 0; iter < 4000; ++iter) {
    const std::string in = RandomScript(rng);
    CAPTURE(iter);
    const std::string out = FormatScript(in);
    REQUIRE(FormatScript(out) == out);
    // A real line end closes the text: no lead byte took the appended "\r".
    if (!out.empty()) REQUIRE((out.size() >= 2 && out.substr(out.size() - 2) == "\r\n" &&
                               is_char_boundary(out, out.size() - 2)));
    // The kept lines are the input's non-blank lines, trimmed, behind whole indentation steps.
    std::vector<std::string> want;
    for (const std::string& piece : split(WithoutLoneTail(in), "\r\n"))
      if (!trim(piece).empty()) want.emplace_back(trim(piece));
    const std::vector<std::string> got = split(out, "\r\n");
    REQUIRE(got.size() == want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      std::size_t spaces = LeadingSpaces(got[i]);
      REQUIRE(spaces % 4 == 0);
      REQUIRE(got[i].substr(spaces) == want[i]);
    }
  }
}

TEST_CASE("random GBK text: one entry at most per formatted line, sourced from it") {
  std::mt19937 rng(7);
  for (int iter = 0; iter < 4000; ++iter) {
    const std::string in = RandomScript(rng);
    CAPTURE(iter);
    const std::vector<std::string> lines = split(FormatScript(in), "\r\n");
    std::size_t next = 0;
    for (const TranslationEntry& e : TranslateText(in)) {
      while (next < lines.size() && lines[next] != e.source) ++next;
      REQUIRE(next < lines.size());  // the sources are formatted lines, in order, each once
      ++next;
      REQUIRE(LeadingSpaces(e.reading) == LeadingSpaces(e.source));
      REQUIRE_FALSE(EndsInLoneLead(e.reading));
    }
  }
}
