#include <doctest/doctest.h>

#include <cstdint>
#include <string>

#include "base/bmp.h"

namespace {

void put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::uint32_t get32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

struct Dib {
  std::uint32_t header = 40;
  std::int32_t width = 2, height = 2;
  std::uint32_t planes = 1, bits = 32, compression = 0, size_image = 0, colours_used = 0;
  std::uint32_t masks = 0;        // mask bytes written after the header
  std::uint32_t table = 0;        // colour table entries written
  std::uint64_t pixel_bytes = 0;  // pixel bytes written; the first row is 0xA5, the rest 0x5A
  std::uint64_t row = 0;          // bytes of the first row
};

// The header fields, then filler for the rest of a longer header, masks (0x22), colour
// table (0x11) and pixels.
std::string make(const Dib& d) {
  std::string s;
  put32(s, d.header);
  put32(s, static_cast<std::uint32_t>(d.width));
  put32(s, static_cast<std::uint32_t>(d.height));
  put32(s, d.planes | d.bits << 16);
  put32(s, d.compression);
  put32(s, d.size_image);
  put32(s, 2835);
  put32(s, 2835);
  put32(s, d.colours_used);
  put32(s, 0);
  if (d.header > 40) s.append(d.header - 40, '\x33');
  s.append(d.masks, '\x22');
  s.append(d.table * 4, '\x11');
  for (std::uint64_t i = 0; i < d.pixel_bytes; ++i) s += i < d.row ? '\xA5' : '\x5A';
  return s;
}

}  // namespace

TEST_CASE("clipboard DIB to BMP file: the pixel offset follows the header") {
  struct Row {
    const char* what;
    Dib dib;
    std::uint32_t offset;  // of the pixels in the file
  } rows[] = {
      {"32-bit BI_RGB", {.width = 3, .height = 2, .pixel_bytes = 24, .row = 12}, 54},
      {"32-bit BI_BITFIELDS, three masks", {.width = 3, .compression = 3, .masks = 12, .pixel_bytes = 24, .row = 12}, 66},
      {"32-bit BI_ALPHABITFIELDS, four masks", {.width = 1, .compression = 6, .masks = 16, .pixel_bytes = 8, .row = 4}, 70},
      {"24-bit, rows padded", {.width = 3, .bits = 24, .pixel_bytes = 24, .row = 12}, 54},
      {"V5 header, masks inside it", {.header = 124, .width = 2, .compression = 3, .pixel_bytes = 16, .row = 8}, 138},
      {"V4 header, 24-bit", {.header = 108, .width = 1, .bits = 24, .pixel_bytes = 8, .row = 4}, 122},
      {"8-bit, implicit 256-entry table", {.width = 5, .bits = 8, .table = 256, .pixel_bytes = 16, .row = 8}, 1078},
      {"8-bit, explicit 16-entry table", {.width = 4, .bits = 8, .colours_used = 16, .table = 16, .pixel_bytes = 8, .row = 4}, 118},
      {"4-bit, implicit table", {.width = 9, .bits = 4, .table = 16, .pixel_bytes = 16, .row = 8}, 118},
      {"1-bit, implicit table", {.width = 33, .bits = 1, .table = 2, .pixel_bytes = 16, .row = 8}, 62},
      {"1-bit, explicit table of one", {.width = 8, .bits = 1, .colours_used = 1, .table = 1, .pixel_bytes = 8, .row = 4}, 58},
      {"16-bit 565 bitfields", {.width = 3, .bits = 16, .compression = 3, .masks = 12, .pixel_bytes = 16, .row = 8}, 66},
      {"top-down", {.width = 1, .height = -3, .pixel_bytes = 12, .row = 4}, 54},
      {"extra bytes after the pixels", {.width = 1, .height = 1, .pixel_bytes = 9, .row = 4}, 54},
      {"RLE8 with its size", {.width = 4, .bits = 8, .compression = 1, .size_image = 6, .table = 256, .pixel_bytes = 6, .row = 6}, 1078},
      {"PNG, bit count 0", {.width = 4, .bits = 0, .compression = 5, .size_image = 10, .pixel_bytes = 10, .row = 10}, 54},
  };
  for (const Row& t : rows) {
    CAPTURE(t.what);
    const std::string dib = make(t.dib);
    const std::string f = tb::bmp_file_from_dib(dib);
    REQUIRE(f.size() == dib.size() + 14);
    CHECK(f.substr(0, 2) == "BM");
    CHECK(get32(f, 2) == f.size());
    CHECK(get32(f, 6) == 0);
    CHECK(get32(f, 10) == t.offset);
    CHECK(f.substr(14) == dib);  // the DIB goes in unchanged
    CHECK(f.substr(t.offset, t.dib.row) == std::string(t.dib.row, '\xA5'));
    CHECK(static_cast<unsigned char>(f[t.offset - 1]) != 0xA5);
  }
}

TEST_CASE("clipboard DIB to BMP file: truncated or lying DIBs give nothing") {
  const Dib ok{.width = 3, .height = 2, .pixel_bytes = 24, .row = 12};
  REQUIRE_FALSE(tb::bmp_file_from_dib(make(ok)).empty());
  auto with = [&](auto change) {
    Dib d = ok;
    change(d);
    return make(d);
  };
  const std::string whole = make(ok);
  struct Row {
    const char* what;
    std::string dib;
  } rows[] = {
      {"no bytes", ""},
      {"truncated header", whole.substr(0, 39)},
      {"header size larger than the data", with([](Dib& d) { d.header = 124; d.pixel_bytes = 0; d.row = 0; }).substr(0, 100)},
      {"unknown header size", with([](Dib& d) { d.header = 64; })},
      {"core header", with([](Dib& d) { d.header = 12; })},
      {"width 0", with([](Dib& d) { d.width = 0; })},
      {"negative width", with([](Dib& d) { d.width = -3; })},
      {"height 0", with([](Dib& d) { d.height = 0; })},
      {"two planes", with([](Dib& d) { d.planes = 2; })},
      {"bit count 7", with([](Dib& d) { d.bits = 7; })},
      {"bit count 0 uncompressed", with([](Dib& d) { d.bits = 0; })},
      {"unknown compression", with([](Dib& d) { d.compression = 11; })},
      {"24-bit bitfields", with([](Dib& d) { d.bits = 24; d.compression = 3; d.masks = 12; })},
      {"one pixel byte missing", whole.substr(0, whole.size() - 1)},
      {"bitfields without room for the pixels after the masks", with([](Dib& d) { d.compression = 3; })},
      {"implicit 8-bit table missing", with([](Dib& d) { d.bits = 8; })},
      {"lying colours used", with([](Dib& d) { d.colours_used = 0xFFFFFFFF; })},
      {"257 colours", with([](Dib& d) { d.bits = 8; d.colours_used = 257; d.table = 257; })},
      {"table larger than the data", with([](Dib& d) { d.bits = 8; d.colours_used = 200; d.table = 2; })},
      {"40000 x 40000 declared", with([](Dib& d) { d.width = 40000; d.height = 40000; })},
      {"widest rows, tallest picture", with([](Dib& d) { d.width = 0x7FFFFFFF; d.height = INT32_MIN; })},
      {"compressed without a size", with([](Dib& d) { d.bits = 8; d.compression = 1; d.table = 256; })},
      {"compressed size past the end", with([](Dib& d) { d.compression = 5; d.bits = 0; d.size_image = 25; })},
      {"run-length top-down", with([](Dib& d) { d.bits = 8; d.compression = 1; d.table = 256; d.height = -2; d.size_image = 4; })},
  };
  for (const Row& t : rows) {
    CAPTURE(t.what);
    CHECK(tb::bmp_file_from_dib(t.dib).empty());
  }
}
