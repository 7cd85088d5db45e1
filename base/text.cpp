#include "base/text.h"

namespace tb {

namespace {
unsigned char ascii_upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }

bool bytes_equal(std::string_view a, std::string_view b, bool ignore_case) {
  if (a.size() != b.size()) return false;
  if (!ignore_case) return a == b;
  // Walk a's characters: only single-byte ones fold; both bytes of a two-byte one must match.
  for (std::size_t i = 0; i < a.size();) {
    std::size_t n = char_len(a, i);
    if (n == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (ascii_upper(static_cast<unsigned char>(a[i])) != ascii_upper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
    i += n;
  }
  return true;
}

template <class Fold>
std::string fold(std::string_view s, Fold f) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size();) {
    std::size_t n = char_len(out, i);
    if (n == 1) out[i] = static_cast<char>(f(static_cast<unsigned char>(out[i])));
    i += n;
  }
  return out;
}
}  // namespace

bool is_char_boundary(std::string_view s, std::size_t pos) {
  if (pos >= s.size()) return pos == s.size();
  std::size_t i = 0;
  while (i < pos) i += char_len(s, i);
  return i == pos;
}

std::size_t floor_boundary(std::string_view s, std::size_t n) {
  if (n >= s.size()) return s.size();
  std::size_t i = 0;
  while (true) {
    std::size_t next = i + char_len(s, i);
    if (next > n) return i;
    i = next;
  }
}

std::string_view trim_left(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] == ' ') {
      ++i;
    } else if (i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0xA1 &&
               static_cast<unsigned char>(s[i + 1]) == 0xA1) {
      i += 2;
    } else {
      break;
    }
  }
  return s.substr(i);
}

std::string_view trim_right(std::string_view s) {
  // Walk forwards so a trail byte 0xA1 of another character is never taken for half a space.
  std::size_t keep = 0;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = char_len(s, i);
    bool space = (n == 1 && s[i] == ' ') ||
                 (n == 2 && static_cast<unsigned char>(s[i]) == 0xA1 &&
                  static_cast<unsigned char>(s[i + 1]) == 0xA1);
    i += n;
    if (!space) keep = i;
  }
  return s.substr(0, keep);
}

std::string_view trim(std::string_view s) { return trim_right(trim_left(s)); }

std::string to_upper(std::string_view s) { return fold(s, ascii_upper); }
std::string to_lower(std::string_view s) {
  return fold(s, [](unsigned char c) -> unsigned char { return (c >= 'A' && c <= 'Z') ? c + 32 : c; });
}

bool equals_ignore_case(std::string_view a, std::string_view b) { return bytes_equal(a, b, true); }

bool starts_with_ignore_case(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && bytes_equal(s.substr(0, prefix.size()), prefix, true);
}

std::size_t find(std::string_view s, std::string_view needle, std::size_t from, bool ignore_case) {
  if (needle.empty()) return from <= s.size() ? from : npos;
  // Candidates are character starts only; a match may not end inside a character either.
  for (std::size_t i = from; i < s.size(); i += char_len(s, i)) {
    if (i + needle.size() > s.size()) break;
    if (bytes_equal(s.substr(i, needle.size()), needle, ignore_case) &&
        is_char_boundary(s.substr(i), needle.size()))
      return i;
  }
  return npos;
}

std::size_t rfind(std::string_view s, std::string_view needle, bool ignore_case) {
  std::size_t last = npos;
  for (std::size_t at = find(s, needle, 0, ignore_case); at != npos;
       at = find(s, needle, at + char_len(s, at), ignore_case)) {
    last = at;
    if (needle.empty()) break;
  }
  return last;
}

std::vector<std::string> split(std::string_view s, std::string_view sep) {
  std::vector<std::string> out;
  if (sep.empty()) {
    if (!s.empty()) out.emplace_back(s);
    return out;
  }
  std::size_t start = 0;
  while (true) {
    std::size_t at = find(s, sep, start);
    if (at == npos) break;
    out.emplace_back(s.substr(start, at - start));
    start = at + sep.size();
  }
  if (start < s.size()) out.emplace_back(s.substr(start));
  return out;
}

std::string between(std::string_view s, std::string_view left, std::string_view right) {
  std::size_t a = find(s, left);
  if (a == npos) return {};
  a += left.size();
  std::size_t b = find(s, right, a);
  if (b == npos) return {};
  return std::string(s.substr(a, b - a));
}

std::string replace_first_ignore_case(std::string_view s, std::string_view from, std::string_view to) {
  std::size_t at = find(s, from, 0, true);
  if (at == npos || from.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size() - from.size() + to.size());
  out.append(s.substr(0, at));
  out.append(to);
  out.append(s.substr(at + from.size()));
  return out;
}

}  // namespace tb
