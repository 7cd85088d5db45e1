#include "imagetool/script_line.h"

#include "base/ini.h"
#include "base/text.h"

namespace tb::imagetool {

std::string fill_template(std::string_view text, const Fields& fields) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t len = char_len(text, i);
    if (len == 1 && text[i] == '{') {
      // The field's name runs to the next '}' that is a character of its own.
      std::size_t j = i + 1;
      while (j < text.size() && !(char_len(text, j) == 1 && (text[j] == '}' || text[j] == '{'))) j += char_len(text, j);
      if (j < text.size() && text[j] == '}') {
        auto f = fields.find(text.substr(i + 1, j - i - 1));
        if (f != fields.end()) {
          out += f->second;
          i = j + 1;
          continue;
        }
      }
    }
    out.append(text.substr(i, len));
    i += len;
  }
  return out;
}

std::string script_template(const std::string& ini, std::string_view key, std::string_view fallback) {
  std::string t = ini_read(ini, kTemplateSection, key);
  if (!t.empty()) return t;
  ini_write(ini, kTemplateSection, key, fallback);
  return std::string(fallback);
}

Fields slot_fields(std::string_view slot) {
  const std::size_t space = slot.find(' ');
  const std::size_t comma = slot.find(',');
  if (space == std::string_view::npos || comma == std::string_view::npos || comma > space) return {};
  const std::string_view colour = trim(slot.substr(space + 1));
  if (colour.empty()) return {};
  return {{"x", std::string(slot.substr(0, comma))},
          {"y", std::string(slot.substr(comma + 1, space - comma - 1))},
          {"颜色", std::string(colour)}};
}

}  // namespace tb::imagetool
