// Clipboard DIBs are outside bytes: the conversion must never read past them, and a file it
// makes must describe itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/bmp.h"

namespace {
std::uint32_t get32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view dib(reinterpret_cast<const char*>(data), size);
  const std::string f = tb::bmp_file_from_dib(dib);
  if (f.empty()) return 0;
  if (f.size() != size + 14 || f.compare(0, 2, "BM") != 0) __builtin_trap();
  if (get32(f, 2) != f.size() || get32(f, 6) != 0) __builtin_trap();
  const std::uint32_t offset = get32(f, 10);
  if (offset < 14 + 40 || offset >= f.size()) __builtin_trap();
  if (std::string_view(f).substr(14) != dib) __builtin_trap();
  return 0;
}
