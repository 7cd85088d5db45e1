#include <doctest/doctest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "imagetool/picture_search.h"

namespace it = tb::imagetool;
using Px = std::uint32_t;
using Hits = std::vector<it::ScreenPoint>;

namespace {

struct Grid {
  int w = 0, h = 0;
  std::vector<Px> px;
  // Random colours, or `few` greys 20 apart from black or white; the top byte set, as screens
  // leave it.
  Grid(int width, int height, unsigned seed, int few = 0) : w(width), h(height), px(width * height) {
    std::mt19937 r(seed);
    for (Px& p : px) p = 0xFF000000u | (few ? (r() % few * 0x141414) ^ (seed & 1 ? 0xFFFFFF : 0) : r() & 0xFFFFFF);
  }
  static Grid of(int w, int h, Px colour) {
    Grid g(w, h, 0);
    g.px.assign(w * h, colour);
    return g;
  }
  Px& at(int x, int y) { return px[y * w + x]; }
  Grid cut(int x, int y, int cw, int ch) {
    Grid g(cw, ch, 0);
    for (int i = 0; i < cw * ch; ++i) g.px[i] = at(x + i % cw, y + i / cw) & 0xFFFFFF;
    return g;
  }
  void paste(const Grid& g, int x, int y, Px add = 0) {
    for (int i = 0; i < g.w * g.h; ++i) at(x + i % g.w, y + i / g.w) = g.px[i] + add;
  }
  it::Image image() const { return {px.data(), w, h}; }
};

// The search as the script states it: every place, every pixel, every component.
it::SearchResult reference(const Grid& g, it::ScreenPoint o, const Grid& p, const it::SearchOptions& opt) {
  it::SearchResult r;
  const it::ScreenRect& e = opt.exclude;
  for (int y = 0; y + p.h <= g.h; ++y)
    for (int x = 0; x + p.w <= g.w; ++x) {
      bool ok = e.empty() || o.x + x >= e.right || o.x + x + p.w <= e.left || o.y + y >= e.bottom || o.y + y + p.h <= e.top;
      for (int k = 0; k < p.w * p.h * 3 && ok; ++k) {
        const int i = k / 3, shift = k % 3 * 8;
        const Px q = p.px[i] & 0xFFFFFF, s = g.px[(y + i / p.w) * g.w + x + i % p.w];
        ok = (opt.transparent && q == *opt.transparent) ||
             std::abs(int(q >> shift & 255) - int(s >> shift & 255)) <= opt.tolerance;
      }
      if (ok && r.count++ < it::kMaxKeptHits) r.hits.push_back({o.x + x, o.y + y});
    }
  return r;
}

}  // namespace

TEST_CASE("picture search: corners, edges, threshold, transparency, order, bad pictures, negative origin") {
  constexpr int W = 24, H = 16;
  const it::ScreenPoint o{-30, -20};  // a monitor left of and above the primary one
  Grid screen(W, H, 1);
  // A shape with room to shift every component, at A (4, 4) and, 26 redder, at B (12, 9).
  Grid shape = screen.cut(4, 4, 5, 4), raised = shape;
  for (Px& p : shape.px) p = (p & 0x7F7F7F) + 0x1E1E1E;
  for (std::size_t i = 0; i < shape.px.size(); ++i) raised.px[i] = shape.px[i] + 26;  // 26 bluer
  screen.paste(shape, 4, 4);
  screen.paste(shape, 12, 9, 26 << 16);
  const Hits both{{-26, -16}, {-18, -11}};
  Grid ring = Grid::of(7, 6, 0x123456), blank = Grid::of(3, 3, 0x808080), flat = Grid::of(W, H, 0x808080), dot = blank;
  ring.paste(shape, 1, 1);  // the shape as separation leaves it
  dot.at(1, 1) = 0x818181;
  flat.paste(dot, 20, 12);
  using S = it::SearchStatus;
  struct Row {
    const char* what;
    Grid *grab, pic;
    it::SearchOptions opt;
    S status;
    std::uint64_t count;
    Hits hits;
  } rows[] = {
      {"top-left corner", &screen, screen.cut(0, 0, 5, 4), {}, S::Done, 1, {{-30, -20}}},
      {"bottom-right corner", &screen, screen.cut(W - 5, H - 4, 5, 4), {}, S::Done, 1, {{-11, -8}}},
      {"left edge", &screen, screen.cut(0, 7, 3, 3), {}, S::Done, 1, {{-30, -13}}},
      {"top edge", &screen, screen.cut(9, 0, 2, 3), {}, S::Done, 1, {{-21, -20}}},
      {"the whole grab", &screen, screen.cut(0, 0, W, H), {}, S::Done, 1, {{-30, -20}}},
      {"26 redder on screen, tolerance 26 (0.9)", &screen, shape, {.tolerance = 26}, S::Done, 2, both},
      {"26 redder on screen, tolerance 25", &screen, shape, {.tolerance = 25}, S::Done, 1, {{-26, -16}}},
      {"26 less blue on screen, tolerance 26", &screen, raised, {.tolerance = 26}, S::Done, 2, both},
      {"26 less blue on screen, tolerance 25", &screen, raised, {.tolerance = 25}, S::Done, 0, {}},
      {"background counts without separation", &screen, ring, {.tolerance = 26}, S::Done, 0, {}},
      {"background does not count after it", &screen, ring, {.tolerance = 26, .transparent = 0x123456}, S::Done, 2,
       {{-27, -17}, {-19, -12}}},
      {"places over the tool's window are not tried", &screen, shape, {.tolerance = 26, .exclude = {-20, -12, -10, -5}},
       S::Done, 1, {{-26, -16}}},
      {"the odd pixel found once on a flat screen", &flat, dot, {}, S::Done, 1, {{-10, -8}}},
      {"a flat picture everywhere: all counted, 100 kept", &flat, blank, {.tolerance = 1}, S::Done, 22 * 14, {}},
      {"wider than the region", &screen, Grid(W + 1, 2, 3), {}, S::PictureTooLarge, 0, {}},
      {"taller than the region", &screen, Grid(2, H + 1, 3), {}, S::PictureTooLarge, 0, {}},
      {"empty picture", &screen, Grid(0, 0, 3), {}, S::EmptyPicture, 0, {}},
      {"nothing left after separation", &screen, blank, {.transparent = 0xFF808080}, S::EmptyPicture, 0, {}},
  };
  for (Row& r : rows) {
    CAPTURE(r.what);
    const it::SearchResult got = it::find_picture(r.grab->image(), o, r.pic.image(), r.opt);
    CHECK(got.status == r.status);
    CHECK(got.count == r.count);
    CHECK(got.hits == (r.count <= it::kMaxKeptHits ? r.hits : reference(*r.grab, o, r.pic, r.opt).hits));
  }
}

TEST_CASE("picture search agrees with the plain search on screens of few colours") {
  std::mt19937 r(5);
  for (int round = 0; round < 300; ++round) {
    CAPTURE(round);
    Grid g(5 + r() % 30, 4 + r() % 20, r(), 1 + r() % 4);
    const int pw = 1 + r() % std::min(g.w, 5), ph = 1 + r() % std::min(g.h, 5);
    const Grid p = g.cut(r() % (g.w - pw + 1), r() % (g.h - ph + 1), pw, ph);
    it::SearchOptions opt{.tolerance = static_cast<int>(r() % 3) * 40};
    if (r() % 2) opt.transparent = p.px[r() % p.px.size()];
    if (r() % 2) opt.exclude = {2, 1, 6, 5};
    const it::SearchResult got = it::find_picture(g.image(), {0, 0}, p.image(), opt);
    const it::SearchResult want = reference(g, {0, 0}, p, opt);
    if (got.status != it::SearchStatus::Done) continue;  // a wholly transparent picture
    CHECK(got.count == want.count);
    CHECK(got.hits == want.hits);
  }
}

TEST_CASE("similarity: what the box accepts and the tolerance it gives") {
  struct Row {
    const char* text;
    int millionths, tolerance;
    const char* shown;
  } rows[] = {{"0.9", 900000, 26, "0.9"}, {"1", 1000000, 0, "1"},         {"1.0", 1000000, 0, "1"},
              {"0.5", 500000, 128, "0.5"}, {" .95 ", 950000, 13, "0.95"}, {"0.875", 875000, 32, "0.875"}};
  for (const Row& t : rows) {
    CAPTURE(t.text);
    REQUIRE(it::parse_similarity(t.text) == t.millionths);
    CHECK(it::tolerance_of(t.millionths) == t.tolerance);
    CHECK(it::similarity_text(t.millionths) == t.shown);
  }
  for (const char* bad : {"", "0.49", "1.01", "abc", "0.9x", "1..0", "-0.9", ".", "9e-1", "0,9"})
    CHECK_FALSE(it::parse_similarity(bad));
}
