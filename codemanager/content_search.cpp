#include "codemanager/content_search.h"

#include <cstring>

#include "base/fileio.h"
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

namespace {
constexpr std::string_view kCacheMagic = "TBSC1\n";

template <class T>
bool take(std::string_view& in, T& v) {
  if (in.size() < sizeof v) return false;
  std::memcpy(&v, in.data(), sizeof v);
  in.remove_prefix(sizeof v);
  return true;
}
bool take_text(std::string_view& in, std::string_view& text) {
  std::uint32_t n = 0;
  if (!take(in, n) || in.size() < n) return false;
  text = in.substr(0, n);
  in.remove_prefix(n);
  return true;
}
template <class T>
std::string_view bytes_of(const T& v) {
  return {reinterpret_cast<const char*>(&v), sizeof v};
}
}  // namespace

// Records: path, stamp, text, each text behind its 32-bit length. A cut or foreign file
// gives what it holds up to the damage; every entry is still checked by its stamp.
void SourceCache::load(std::string_view in) {
  if (in.substr(0, kCacheMagic.size()) != kCacheMagic) return;
  in.remove_prefix(kCacheMagic.size());
  std::string_view path, text;
  fs::Stamp s;
  while (take_text(in, path) && take(in, s.written) && take(in, s.size) && take_text(in, text)) {
    if (text.size() > kMaxFile || bytes_ + text.size() > kMaxKept) continue;
    by_path_[std::string(path)] = {s, std::make_shared<const std::string>(text)};
    bytes_ += text.size();
  }
}

void SourceCache::load_once() {
  std::call_once(loaded_, [this] {
    std::string bytes;
    if (file_.empty() || !read_file(file_, bytes)) return;
    std::lock_guard<std::mutex> lock(m_);
    load(bytes);
  });
}

bool SourceCache::save() {
  std::lock_guard<std::mutex> lock(m_);
  if (file_.empty() || !changed_) return true;
  changed_ = false;
  return write_file_atomic(file_, [this](const ByteSink& sink) {
    if (!sink(kCacheMagic)) return false;
    for (const auto& [path, e] : by_path_) {
      const auto path_size = static_cast<std::uint32_t>(path.size());
      const auto text_size = static_cast<std::uint32_t>(e.text->size());
      if (!sink(bytes_of(path_size)) || !sink(path) || !sink(bytes_of(e.stamp.written)) ||
          !sink(bytes_of(e.stamp.size)) || !sink(bytes_of(text_size)) || !sink(*e.text))
        return false;
    }
    return true;
  });
}

std::shared_ptr<const std::string> SourceCache::source(const Store& store, const SnippetRef& ref) {
  load_once();
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
  changed_ = true;
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
