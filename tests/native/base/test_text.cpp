#include <doctest/doctest.h>

#include "base/text.h"

using namespace tb;

TEST_CASE("narrow literals are GBK bytes") {
  std::string s = "按";
  REQUIRE(s.size() == 2);
  CHECK(static_cast<unsigned char>(s[0]) == 0xB0);
  CHECK(static_cast<unsigned char>(s[1]) == 0xB4);
}

TEST_CASE("trim removes ASCII and full-width spaces but not tabs") {
  CHECK(trim("  \xA1\xA1 abc \xA1\xA1") == "abc");
  CHECK(trim("\tabc\t") == "\tabc\t");
  CHECK(trim("") == "");
  CHECK(trim("\xA1\xA1") == "");
  // "啊" is B0 A1: its trail byte plus a following A1 must not read as a full-width space.
  CHECK(trim_right("\xB0\xA1\xA1") == "\xB0\xA1\xA1");
  CHECK(trim_right("\xB0\xA1\xA1\xA1") == "\xB0\xA1");
}

TEST_CASE("case folding touches ASCII letters only, never a trail byte") {
  // 0xB0 0x61: a two-byte character whose second byte is 'a'.
  CHECK(to_upper("ab\xB0\x61z") == "AB\xB0\x61Z");
  CHECK(to_lower("AB\xB0\x41Z") == "ab\xB0\x41z");
  CHECK(equals_ignore_case("KeyPress", "KEYPRESS"));
  CHECK_FALSE(equals_ignore_case("\xB0\x61", "\xB0\x41"));
}

TEST_CASE("find never matches inside a two-byte character") {
  // The trail byte of 0xD6 0x27 looks like an apostrophe; 0x81 0x2F like a slash.
  std::string s = "\xD6\x27x'y";
  CHECK(find(s, "'") == 3);
  CHECK(find("\x81\x2F\x2F", "//") == npos);
  CHECK(find("a\x81\x2F//", "//") == 3);
  // A match may not end in the middle of a character.
  CHECK(find("\xB0\xB4", "\xB0") == npos);
  CHECK(find("abcABC", "abc", 1, true) == 3);
  CHECK(find("abc", "") == 0);
  CHECK(rfind("a=b=c", "=") == 3);
  // A lone lead byte at the end is a character of its own.
  CHECK(find("ab\xB0", "\xB0") == 2);
}

TEST_CASE("split keeps inner empty pieces and drops an empty last piece") {
  using V = std::vector<std::string>;
  CHECK(split("a|b||c|", "|") == V{"a", "b", "", "c"});
  CHECK(split("|a", "|") == V{"", "a"});
  CHECK(split("", "|") == V{});
  CHECK(split("abc", "|") == V{"abc"});
  CHECK(split("\r\n\r\nx\r\n", "\r\n") == V{"", "", "x"});
  // A separator byte inside a character does not cut.
  CHECK(split("\x81|a|b", "|") == V{"\x81|a", "b"});
}

TEST_CASE("between and replace-first") {
  CHECK(between("xx【更新情况】1.2【】yy", "【更新情况】", "【】") == "1.2");
  CHECK(between("abc", "x", "c") == "");
  CHECK(between("a[b", "[", "]") == "");
  CHECK(replace_first_ignore_case("KeyPress KEYPRESS", "keypress", "按键") == "按键 KEYPRESS");
  CHECK(replace_first_ignore_case("abc", "x", "y") == "abc");
  CHECK(replace_first_ignore_case("\xB0\x61" "a", "A", "Z") == "\xB0\x61Z");
}

TEST_CASE("character boundaries") {
  std::string s = "a\xB0\xB4" "b";
  CHECK(is_char_boundary(s, 1));
  CHECK_FALSE(is_char_boundary(s, 2));
  CHECK(is_char_boundary(s, 4));
  CHECK(floor_boundary(s, 2) == 1);
  CHECK(floor_boundary(s, 3) == 3);
  CHECK(floor_boundary(s, 99) == 4);
}
