// The update page comes from the network: any bytes, markers missing, split over a two-byte
// character or repeated through a large body. Reading it must never crash, and what it
// shows comes from the note it found.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/update_notice.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const tb::shell::UpdateNotice n = tb::shell::read_update_page(body);
  if (!n.found && (n.ask || !n.note.empty() || !n.message.empty())) __builtin_trap();
  if (n.note.size() > body.size() || n.note.find('\0') != std::string_view::npos) __builtin_trap();
  if (n.note.find(n.message) == std::string_view::npos) __builtin_trap();
  return 0;
}
