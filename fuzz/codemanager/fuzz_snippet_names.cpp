// Snippet names come from the user and from folders on disk. A name the checks accept must
// stay one folder below its parent: no separator, no lone lead byte, no "." or "..".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codemanager/snippet_store.h"

namespace {
void Expect(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace s = tb::snippets;
  const std::string_view typed(reinterpret_cast<const char*>(data), size);
  const std::string name = s::clean_name(typed);
  Expect(s::clean_name(name) == name);
  if (s::valid_name(name)) {
    const s::Store store("root");
    const std::string folder = store.snippet_folder(name, name);
    Expect(!folder.empty() && s::file_name_of(folder) == name);
    Expect(s::file_name_of(store.resource_path(name, name, name)) == name);
  }
  const std::vector<std::string> names{name, std::string(typed)};
  Expect(s::search(names, "").size() == names.size());
  for (const std::string& hit : s::search(names, typed)) Expect(hit == name || hit == typed);
  return 0;
}
