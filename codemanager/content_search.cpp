#include "codemanager/content_search.h"

#include "base/text.h"

namespace tb::snippets {

int first_matching_line(std::string_view text, std::string_view typed) {
  if (typed.empty()) return 0;
  auto fold = [](unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; };
  // Only character starts whose first byte could begin a match are compared in full.
  const unsigned char first = fold(static_cast<unsigned char>(typed[0]));
  int line = 1;
  for (std::size_t i = 0, n = text.size(); i < n;) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      ++line;
      ++i;
      continue;
    }
    if (fold(c) == first) {
      const std::string_view rest = text.substr(i);
      if (starts_with_ignore_case(rest, typed) && is_char_boundary(rest, typed.size())) return line;
    }
    i += char_len(text, i);
  }
  return 0;
}

void scan_sources(const Store& store, const std::vector<SnippetRef>& refs, std::string_view typed,
                  const std::function<bool()>& cancelled, const std::function<void(std::size_t, int)>& found) {
  for (std::size_t i = 0; i < refs.size(); ++i) {
    if (cancelled()) return;
    if (const int line = first_matching_line(store.read_source(refs[i].main, refs[i].sub), typed)) found(i, line);
  }
}

}  // namespace tb::snippets
