#include <doctest/doctest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imagetool/readout.h"
#include "imagetool/script_line.h"

namespace it = tb::imagetool;

TEST_CASE("readout: a colour as decimal, hexadecimal and components") {
  struct Row {
    std::uint32_t colour;
    const char *decimal, *hex;
    int r, g, b;
  } rows[] = {
      {0x0000FF, "255", "0000FF", 255, 0, 0},
      {0x00FF00, "65280", "00FF00", 0, 255, 0},
      {0xFF0000, "16711680", "FF0000", 0, 0, 255},
      {0xFFFFFF, "16777215", "FFFFFF", 255, 255, 255},
      {0x000000, "0", "000000", 0, 0, 0},
      {0x123456, "1193046", "123456", 0x56, 0x34, 0x12},
      {it::kUnreadable, "-1", "FFFFFFFF", 255, 255, 255},
  };
  for (const Row& t : rows) {
    CAPTURE(t.colour);
    CHECK(it::decimal_colour(t.colour) == t.decimal);
    const std::string hex = it::hex_colour(t.colour);
    CHECK(hex == t.hex);
    const it::Components c = it::components(hex);
    CHECK(c.r == t.r);
    CHECK(c.g == t.g);
    CHECK(c.b == t.b);
  }
}

TEST_CASE("readout: hexadecimal text padded to six characters, longer kept") {
  struct Row {
    std::uint32_t colour;
    const char* hex;
  } rows[] = {
      {0x0, "000000"},          {0xA, "00000A"},          {0xAB, "0000AB"},
      {0xABC, "000ABC"},        {0xABCD, "00ABCD"},       {0xABCDE, "0ABCDE"},
      {0xABCDEF, "ABCDEF"},     {0x1ABCDEF, "1ABCDEF"},   {0x80000000, "80000000"},
  };
  for (const Row& t : rows) {
    CAPTURE(t.colour);
    CHECK(it::hex_colour(t.colour) == t.hex);
  }
}

TEST_CASE("readout: hexadecimal text to number") {
  struct Row {
    const char* text;
    std::int32_t value;
  } rows[] = {
      {"", 0},
      {"0", 0},
      {"FF", 255},
      {"ff", 255},
      {"aBcDeF", 0xABCDEF},
      {"0000FF", 255},
      {"7FFFFFFF", 0x7FFFFFFF},
      {"FFFFFFFF", -1},        // 32 bits after each step
      {"100000000", 0},        // the ninth digit pushes the value out of 32 bits
      {"123456789", 0x23456789},
      {"G", -2},               // outside 0-9A-F: -2
      {"1G", 14},              // 1 * 16 - 2
      {"GG", -34},             // -2 * 16 - 2
      {" F", -17},             // a space is no digit either
      {"-1", -31},
      {"\xD6\xD0", -2},        // a two-byte character counts once
      {"\x81" "a", -2},        // its second byte, a letter, is not folded into a digit
      {"1\xB0\xA1" "1", 1 * 256 - 2 * 16 + 1},
  };
  for (const Row& t : rows) {
    CAPTURE(t.text);
    CHECK(it::hex_to_number(t.text) == t.value);
  }
}

TEST_CASE("readout: components of short and long texts") {
  struct Row {
    const char* hex;
    int r, g, b;
  } rows[] = {
      {"", 0, 0, 0}, {"AB", 0, 0, 0xAB}, {"ABCDE", 0xE, 0xCD, 0xAB}, {"1ABCDEF", 0xDE, 0xBC, 0x1A}, {"0000fg", 15 * 16 - 2, 0, 0},
  };
  for (const Row& t : rows) {
    CAPTURE(t.hex);
    const it::Components c = it::components(t.hex);
    CHECK(c.r == t.r);
    CHECK(c.g == t.g);
    CHECK(c.b == t.b);
  }
}

TEST_CASE("readout: coordinate and slot texts") {
  struct Row {
    int x, y, ox, oy;
    const char* text;
  } rows[] = {
      {130, 90, 0, 0, "130,90"},     {130, 90, 100, 50, "30,40"},  {90, 40, 100, 50, "-10,-10"},
      {-5, -7, 0, 0, "-5,-7"},       {-5, 3, -20, -30, "15,33"},   {0, 0, 0, 0, "0,0"},
  };
  for (const Row& t : rows) {
    CAPTURE(t.text);
    CHECK(it::coordinate_text(t.x, t.y, t.ox, t.oy) == t.text);
  }
  CHECK(it::slot_text("30,40", "0000FF") == "30,40 0000FF");
  CHECK(it::slot_text(it::coordinate_text(-1, 2, 0, 0), it::hex_colour(it::kUnreadable)) == "-1,2 FFFFFFFF");
}

TEST_CASE("colour separation keeps one colour on a background") {
  // DIB pixels 0x00RRGGBB; keep and background are GDI colours 0x00BBGGRR.
  const std::vector<std::uint32_t> picture = {0x0000FF, 0xFF0000, 0x000000, 0xFF0000,
                                              0xFFFFFF, 0xFE0000, 0xFF000000, 0x00FF00};
  const std::uint32_t white = 0xFFFFFF;
  struct Row {
    const char* what;
    std::string keep;  // as the keep box holds it
    std::vector<std::uint32_t> expected;
  } rows[] = {
      {"red kept (BBGGRR 0000FF is DIB 0xFF0000)", "0000FF",
       {white, 0xFF0000, white, 0xFF0000, white, white, white, white}},
      {"blue kept", "FF0000", {0x0000FF, white, white, white, white, white, white, white}},
      {"empty text keeps only black, also under a set top byte", "",
       {white, white, 0x000000, white, white, white, 0xFF000000, white}},
      {"beyond 24 bits keeps nothing", "1000000", std::vector<std::uint32_t>(8, white)},
      {"a bad character matches no colour the text names", "0000FG", std::vector<std::uint32_t>(8, white)},
  };
  for (const Row& t : rows) {
    CAPTURE(t.what);
    std::vector<std::uint32_t> px = picture;
    it::separate_colours(px.data(), px.size(), static_cast<std::uint32_t>(it::hex_to_number(t.keep)),
                         static_cast<std::uint32_t>(it::hex_to_number("FFFFFF")));
    CHECK(px == t.expected);
  }
  // The background is a GDI colour too: BBGGRR 0000FF paints DIB red.
  std::vector<std::uint32_t> px = picture;
  it::separate_colours(px.data(), px.size(), 0x000000, 0x0000FF);
  CHECK(px == std::vector<std::uint32_t>{0xFF0000, 0xFF0000, 0x000000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF000000,
                                         0xFF0000});
  it::separate_colours(nullptr, 0, 0, 0);  // an empty picture
}

TEST_CASE("script lines: fields filled, unknown names and braces inside characters kept") {
  const it::Fields f{{"x", "10"}, {"y", "20"}, {"颜色", "0000FF"}};
  struct Row {
    std::string text, expected;
  };
  const Row rows[] = {
      {std::string(it::kColourTemplate), "IfColor 10,20,\"0000FF\",0 Then"},
      {"{未知} {x", "{未知} {x"},
      {"{{x}}", "{10}"},
      {"\x81{x}", "\x81{x}"},  // "\x81{" is one character: no field opens there
      {"{x\x81}", "{x\x81}"},
      {"", ""},
  };
  for (const Row& r : rows) {
    CAPTURE(r.text);
    CHECK(it::fill_template(r.text, f) == r.expected);
  }
  CHECK(it::slot_fields("-5,34 00FF00") == it::Fields{{"x", "-5"}, {"y", "34"}, {"颜色", "00FF00"}});
  for (const char* empty : {"", "abc", "1,2 ", "12 34,5"}) CHECK(it::slot_fields(empty).empty());
}
