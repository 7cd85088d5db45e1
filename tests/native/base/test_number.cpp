#include <doctest/doctest.h>

#include <cstdint>
#include <limits>

#include "base/number.h"

using namespace tb;

TEST_CASE("text to number goes through floating point and truncates toward zero") {
  CHECK(text_to_int("123") == 123);
  CHECK(text_to_int("-45.9") == -45);
  CHECK(text_to_int("45.9") == 45);
  CHECK(text_to_int(" 12") == 12);
  CHECK(text_to_int("1e3") == 1000);
  CHECK(text_to_int("2.5E1x") == 25);
  CHECK(text_to_int("12abc") == 12);
}

TEST_CASE("empty and non-numeric text read as 0") {
  CHECK(text_to_int("") == 0);
  CHECK(text_to_int("abc") == 0);
  CHECK(text_to_int("-") == 0);
  CHECK(text_to_int(".") == 0);
  // Forms strtod alone would accept are not numbers here.
  CHECK(text_to_int("0x10") == 0);
  CHECK(text_to_int("inf") == 0);
  CHECK(text_to_int("nan") == 0);
  CHECK(text_to_double("1e400") == 0.0);
}

TEST_CASE("huge values clamp instead of overflowing") {
  CHECK(text_to_int("1e30") == std::numeric_limits<std::int64_t>::max());
  CHECK(text_to_int("-1e30") == std::numeric_limits<std::int64_t>::min());
  CHECK(int_to_text(-5) == "-5");
  CHECK(int_to_text(text_to_int("987654321")) == "987654321");
}
