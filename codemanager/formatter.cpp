#include "codemanager/formatter.h"

#include "base/text.h"
#include "codemanager/format_lines.h"

namespace tb {

namespace format_detail {

namespace {

struct Keyword {
  std::string_view word;
  LineClass cls;
};

// Whole words only: matching W anywhere inside a list text would put "I = I + 1" at the left
// margin and make "X = 1" close a block. ENDIF closes like "End If" (the translator reads both
// as the end of a condition).
constexpr Keyword kKeywords[] = {
    {"SUB", LineClass::Routine},   {"FUNCTION", LineClass::Routine},
    {"IF", LineClass::Opener},     {"DO", LineClass::Opener},
    {"WHILE", LineClass::Opener},  {"FOR", LineClass::Opener},
    {"SELECT", LineClass::Opener}, {"IFCOLOR", LineClass::Opener},
    {"END", LineClass::Closer},    {"ENDIF", LineClass::Closer},
    {"LOOP", LineClass::Closer},   {"WEND", LineClass::Closer},
    {"NEXT", LineClass::Closer},   {"ENDFOR", LineClass::Closer},
    {"ELSE", LineClass::Middle},   {"ELSEIF", LineClass::Middle},
    {"CASE", LineClass::Middle},
};
constexpr std::size_t kLongestKeyword = 8;

bool IsWordChar(unsigned char c) {
  // Two-byte characters count: the macro language allows Chinese names.
  return c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         c == '_';
}

// True when nothing but blanks or a comment follows.
bool NothingFollows(std::string_view rest) {
  std::size_t i = 0;
  while (i < rest.size()) {
    if (rest[i] == ' ' || rest[i] == '\t') {
      ++i;
    } else if (i + 1 < rest.size() && static_cast<unsigned char>(rest[i]) == 0xA1 &&
               static_cast<unsigned char>(rest[i + 1]) == 0xA1) {
      i += 2;
    } else {
      break;
    }
  }
  rest.remove_prefix(i);
  return rest.empty() || rest[0] == '\'' || rest.substr(0, 2) == "//";
}

// A single-line IF carries its statement after THEN and opens no block. THEN is looked for as
// a whole word outside string literals and before any comment; without one the line is taken
// as a block opener, as before.
bool IsSingleLineIf(std::string_view rest) {
  bool in_string = false;
  for (std::size_t i = 0; i < rest.size();) {
    const auto c = static_cast<unsigned char>(rest[i]);
    if (in_string) {
      if (c == '"') in_string = false;
      i += char_len(rest, i);
    } else if (c == '"') {
      in_string = true;
      ++i;
    } else if (c == '\'' || (c == '/' && i + 1 < rest.size() && rest[i + 1] == '/')) {
      return false;
    } else if (IsWordChar(c)) {
      std::size_t end = i;
      while (end < rest.size() && IsWordChar(static_cast<unsigned char>(rest[end])))
        end += char_len(rest, end);
      if (equals_ignore_case(rest.substr(i, end - i), "THEN")) return !NothingFollows(rest.substr(end));
      i = end;
    } else {
      ++i;
    }
  }
  return false;
}

}  // namespace

LineClass ClassifyLine(std::string_view body) {
  // W is the text before the first ASCII space, upper-cased; only a short all-ASCII W can
  // equal a keyword, so a two-byte character or a long word ends the search early.
  char w[kLongestKeyword];
  std::size_t len = 0;
  for (; len < body.size() && body[len] != ' '; ++len) {
    const auto c = static_cast<unsigned char>(body[len]);
    if (len == kLongestKeyword || c >= 0x80) return LineClass::Other;
    w[len] = static_cast<char>((c >= 'a' && c <= 'z') ? c - 32 : c);
  }
  const std::string_view word(w, len);
  for (const Keyword& k : kKeywords) {
    if (k.word != word) continue;
    if (k.cls == LineClass::Opener && word == "IF" && IsSingleLineIf(body.substr(len)))
      return LineClass::Other;
    return k.cls;
  }
  return LineClass::Other;
}

}  // namespace format_detail

std::string FormatScript(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  format_detail::ForEachFormattedLine(text, [&out](std::size_t indent, std::string_view body) {
    out.append(indent, ' ');
    out.append(body);
    out.append("\r\n");
  });
  return out;
}

}  // namespace tb
