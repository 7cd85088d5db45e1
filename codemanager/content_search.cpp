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

std::shared_ptr<const std::string> SourceCache::source(const Store& store, const SnippetRef& ref) {
  const std::string path = store.source_path(ref.main, ref.sub);
  fs::Stamp now;
  if (path.empty() || !fs::stamp(path, now)) return std::make_shared<const std::string>();
  {
    std::lock_guard<std::mutex> lock(m_);
    auto it = by_path_.find(path);
    if (it != by_path_.end() && it->second.stamp == now) return it->second.text;
  }
  // Read outside the lock; a file that changes meanwhile has a new stamp by the next search.
  std::string bytes;
  if (!fs::read_sized(path, now.size, bytes)) bytes.clear();
  auto text = std::make_shared<const std::string>(cut_at_terminator(std::move(bytes)));
  std::lock_guard<std::mutex> lock(m_);
  Entry& e = by_path_[path];
  bytes_ -= e.text ? e.text->size() : 0;
  const bool keep = text->size() <= kMaxFile && bytes_ + text->size() <= kMaxKept;
  e = {now, keep ? text : nullptr};
  bytes_ += keep ? text->size() : 0;
  if (!keep) by_path_.erase(path);
  return text;
}

void scan_sources(const Store& store, SourceCache& cache, const std::vector<SnippetRef>& refs, std::string_view typed,
                  const std::function<bool()>& cancelled, const std::function<void(std::size_t, int)>& found) {
  for (std::size_t i = 0; i < refs.size(); ++i) {
    if (cancelled()) return;
    const std::shared_ptr<const std::string> text = cache.source(store, refs[i]);
    if (const int line = first_matching_line(*text, typed)) found(i, line);
  }
}

}  // namespace tb::snippets
