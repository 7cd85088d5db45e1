// INI files are outside bytes: parse, query, edit and re-save must never crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ini.h"
#include "base/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tb::IniDocument doc = tb::IniDocument::parse(bytes);
  auto names = doc.section_names();
  for (const std::string& n : names) {
    (void)doc.get(n, "fl");
    (void)doc.get(n, "name");
  }
  // Use the first line as a section/key pair to write and read back.
  std::string_view first = bytes.substr(0, bytes.find('\n'));
  doc.set(first, first, first);
  std::string v = doc.get(first, first);
  if (v.size() > tb::kIniValueMax) __builtin_trap();
  (void)tb::IniDocument::parse(doc.serialize()).section_names();
  return 0;
}
