// Finding snippets by what their sources hold: the matcher and the scan a search worker runs.
#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "codemanager/folder_ops.h"
#include "codemanager/snippet_store.h"

namespace tb::snippets {

// Line (from 1) of the first place `typed` occurs in `text`, ASCII letter case ignored,
// two-byte characters exact and never matched inside; 0 when it does not occur or is "".
int first_matching_line(std::string_view text, std::string_view typed);

struct SnippetRef {
  std::string main, sub;
};

// Sources read before, each with its file's stamp: a search reads a file again only when it
// has changed, and otherwise asks only for its stamp (under Wine a tenth of a read). Shared by
// the UI thread and search workers.
class SourceCache {
 public:
  // Kept in `file` between sessions: read once, before the first source is looked at (a
  // search right after opening then only checks stamps), and written by save() when changed.
  void keep_in(std::string file) { file_ = std::move(file); }
  bool save();
  // The source of `ref` as the store reads it ("" when missing).
  std::shared_ptr<const std::string> source(const Store& store, const SnippetRef& ref);

  static constexpr std::size_t kMaxKept = 128u << 20;  // bytes of all kept sources
  static constexpr std::size_t kMaxFile = 1u << 20;    // larger sources are read every time

 private:
  struct Entry {
    fs::Stamp stamp;
    std::shared_ptr<const std::string> text;
  };
  void load_once();
  void load(std::string_view bytes);
  std::mutex m_;
  std::unordered_map<std::string, Entry> by_path_;
  std::size_t bytes_ = 0;
  std::string file_;
  std::once_flag loaded_;
  bool changed_ = false;
};

// Reads the sources of `refs` in order and reports each that holds `typed` with its first
// matching line; with "" it only fills the cache. Stops early when `cancelled` says so
// (checked before every file).
void scan_sources(const Store& store, SourceCache& cache, const std::vector<SnippetRef>& refs, std::string_view typed,
                  const std::function<bool()>& cancelled, const std::function<void(std::size_t, int)>& found);

}  // namespace tb::snippets
