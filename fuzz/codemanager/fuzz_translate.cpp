// TranslateText over arbitrary bytes (it runs the formatter first). Besides crashes and
// sanitizer reports it checks what the code manager relies on: formatting is stable, no
// line end is swallowed by a lead byte, and every entry comes from one formatted line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "codemanager/formatter.h"
#include "codemanager/translator.h"

namespace {
void Expect(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string out = tb::FormatScript(in);
  Expect(tb::FormatScript(out) == out);
  Expect(out.empty() || (out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0 &&
                         tb::is_char_boundary(out, out.size() - 2)));

  const std::vector<std::string> lines = tb::split(out, "\r\n");
  std::size_t next = 0;
  for (const tb::TranslationEntry& e : tb::TranslateText(in)) {
    while (next < lines.size() && lines[next] != e.source) ++next;
    Expect(next < lines.size());
    ++next;
    const std::size_t indent = e.source.find_first_not_of(' ');
    Expect(e.reading.compare(0, indent, std::string(indent, ' ')) == 0);
  }
  // The views keep every formatted line, in order: a save writes them back.
  const tb::Translation all = tb::TranslateForViews(in);
  Expect(all.size() == lines.size());
  for (std::size_t i = 0; i < all.size() && i < lines.size(); ++i) Expect(all[i].source == lines[i]);
  return 0;
}
