// Finding snippets by what their sources hold: the matcher and the scan a search worker runs.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "codemanager/snippet_store.h"

namespace tb::snippets {

// Line (from 1) of the first place `typed` occurs in `text`, ASCII letter case ignored,
// two-byte characters exact and never matched inside; 0 when it does not occur or is "".
int first_matching_line(std::string_view text, std::string_view typed);

struct SnippetRef {
  std::string main, sub;
};

// Reads the sources of `refs` in order and reports each that holds `typed` with its first
// matching line. Stops early when `cancelled` says so (checked before every file).
void scan_sources(const Store& store, const std::vector<SnippetRef>& refs, std::string_view typed,
                  const std::function<bool()>& cancelled, const std::function<void(std::size_t, int)>& found);

}  // namespace tb::snippets
