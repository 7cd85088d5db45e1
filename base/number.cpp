#include "base/number.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace tb {

double text_to_double(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  // Collect only a plain decimal form: strtod alone would also take hex, inf and nan.
  std::string num;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) num += s[i++];
  bool digits = false;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') { num += s[i++]; digits = true; }
  if (i < s.size() && s[i] == '.') {
    num += s[i++];
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') { num += s[i++]; digits = true; }
  }
  if (!digits) return 0.0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    std::string exp = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
    bool exp_digits = false;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') { exp += s[j++]; exp_digits = true; }
    if (exp_digits) num += exp;
  }
  double v = std::strtod(num.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

std::int64_t text_to_int(std::string_view s) {
  double v = std::trunc(text_to_double(s));
  constexpr double lo = -9223372036854775808.0;
  if (v <= lo) return std::numeric_limits<std::int64_t>::min();
  if (v >= -lo) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(v);
}

std::string int_to_text(std::int64_t v) { return std::to_string(v); }

}  // namespace tb
