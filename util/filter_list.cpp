#include "util/filter_list.h"

#include "base/text.h"

namespace tb {

std::string build_filter_list(std::string_view filter) {
  std::string out;
  bool first = true;
  for (const std::string& piece : split(filter, "|")) {
    if (!first) out += '\0';
    out += piece;
    first = false;
  }
  out.append(2, '\0');
  return out;
}

}  // namespace tb
