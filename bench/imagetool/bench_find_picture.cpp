// The picture search of "找图 测试" on a 1920 x 1080 screen grab made to look like a desktop
// (wallpaper gradient, icons with their labels, windows with text, a taskbar) and a 40 x 40
// picture cut from it over an icon: similarity 1.0 and 0.9, the picture present and absent
// (its place changed by 64 in red), and the worst case of a plain search: a flat screen and a
// flat picture with one odd pixel; and a flat picture over a flat screen, a hit at every place
// (1881 x 1041 of them), which every search must confirm. Each case runs twice: the search the tool uses, and a
// straightforward one (every place, row by row, stopping at the first mismatching pixel).
// A table of medians and their ratio follows Google Benchmark's own.
// Goals (median, one core): present/absent under 5 ms at 1.0, under 20 ms at 0.9; the worst
// case under 50 ms.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "base/colour.h"
#include "imagetool/picture_search.h"

namespace {

using Px = std::uint32_t;
using tb::colour::pixel;
namespace it = tb::imagetool;

constexpr int kW = 1920, kH = 1080, kPic = 40;

struct Canvas {
  int w, h;
  std::vector<Px> px;
  Canvas(int width, int height, Px fill) : w(width), h(height), px(static_cast<std::size_t>(width) * height, fill) {}
  Px& at(int x, int y) { return px[static_cast<std::size_t>(y) * w + x]; }
  void rect(int x, int y, int rw, int rh, Px c) {
    for (int j = y; j < y + rh && j < h; ++j)
      for (int i = x; i < x + rw && i < w; ++i) at(i, j) = c;
  }
  Canvas cut(int x, int y, int cw, int ch) {
    Canvas c(cw, ch, 0);
    for (int j = 0; j < ch; ++j)
      for (int i = 0; i < cw; ++i) c.at(i, j) = at(x + i, y + j);
    return c;
  }
  it::Image image() const { return {px.data(), w, h}; }
};

// A line of text: glyphs of 6 x 10 from a set of 64, ink with a lighter edge as
// anti-aliasing leaves it.
void text(Canvas& c, int x, int y, int chars, Px ink, Px edge, unsigned seed) {
  for (int k = 0; k < chars; ++k, x += 7) {
    seed = seed * 1103515245u + 12345u;
    const unsigned glyph = (seed >> 16) % 64;
    if (glyph % 9 == 0) continue;  // a space
    for (int j = 0; j < 10; ++j)
      for (int i = 0; i < 6; ++i) {
        const unsigned bit = (glyph * 2654435761u >> ((i * 3 + j * 5) % 29)) & 3;
        if (bit == 3) c.at(x + i, y + j) = ink;
        else if (bit == 2 && (i + j) % 2) c.at(x + i, y + j) = edge;
      }
  }
}

Canvas desktop() {
  Canvas c(kW, kH, 0);
  for (int y = 0; y < kH; ++y)  // wallpaper
    for (int x = 0; x < kW; ++x) c.at(x, y) = pixel(20 + x * 60 / kW, 60 + y * 80 / kH, 120 + (x + y) * 100 / (kW + kH));
  for (int k = 0; k < 10; ++k) {  // desktop icons, each its own hue, with a label
    const int x = 24, y = 24 + k * 96;
    for (int j = 0; j < 48; ++j)
      for (int i = 0; i < 48; ++i) {
        const int d = (i - 24) * (i - 24) + (j - 24) * (j - 24);
        if (d < 22 * 22) c.at(x + i, y + j) = pixel(40 + k * 21, 255 - d / 3 % 200, 80 + (i * 3 + j * k) % 150);
      }
    text(c, x - 8, y + 54, 9, 0xFFFFFF, 0xB0B8C0, 1000 + k);
  }
  struct Win {
    int x, y, w, h;
  } wins[] = {{400, 120, 900, 600}, {700, 300, 1000, 650}, {1240, 60, 660, 480}};
  for (const Win& w : wins) {
    c.rect(w.x, w.y, w.w, w.h, 0xF0F0F0);
    for (int j = 0; j < 30; ++j)  // caption gradient
      for (int i = 0; i < w.w && w.x + i < kW; ++i) c.at(w.x + i, w.y + j) = pixel(30 + i * 60 / w.w, 90 + j, 200);
    for (int i = 0; i < 12; ++i) c.rect(w.x + 8 + i * 24, w.y + 38, 16, 16, pixel(i * 20, 128, 255 - i * 20));  // toolbar
    c.rect(w.x + 8, w.y + 64, w.w - 16, w.h - 72, 0xFFFFFF);
    for (int line = 0; line * 16 + 80 < w.h - 20; ++line)
      text(c, w.x + 14, w.y + 74 + line * 16, (w.w - 40) / 7, 0x1E1E1E, 0x8C8C8C, w.x * 31 + line);
  }
  c.rect(0, kH - 40, kW, 40, 0x202830);  // taskbar, with its clock
  text(c, kW - 80, kH - 28, 8, 0xFFFFFF, 0x909090, 7);
  return c;
}

// The straightforward search: every place, row by row, the first mismatching pixel ends it.
std::uint64_t plain_search(const it::Image& g, const it::Image& p, int t) {
  std::uint64_t count = 0;
  for (int y = 0; y + p.height <= g.height; ++y)
    for (int x = 0; x + p.width <= g.width; ++x) {
      bool ok = true;
      for (int j = 0; j < p.height && ok; ++j)
        for (int i = 0; i < p.width && ok; ++i) {
          const Px a = g.pixels[static_cast<std::size_t>(y + j) * g.width + x + i], b = p.pixels[j * p.width + i];
          for (int s = 0; s < 24 && ok; s += 8) ok = std::abs(int(a >> s & 255) - int(b >> s & 255)) <= t;
        }
      count += ok;
    }
  return count;
}

struct Case {
  std::string name;
  Canvas screen, picture;
  int tolerance;
};

const std::vector<Case>& cases() {
  static const std::vector<Case> all = [] {
    Canvas screen = desktop();
    const int cx = 28, cy = 24 + 2 * 96 + 4;  // over the third icon and the wallpaper beside it
    Canvas picture = screen.cut(cx, cy, kPic, kPic);
    Canvas changed = screen;
    for (int j = 0; j < kPic; ++j)
      for (int i = 0; i < kPic; ++i) changed.at(cx + i, cy + j) ^= 0x400000;
    Canvas flat(kW, kH, 0x6A7B8C), dot(kPic, kPic, 0x6A7B8C);
    dot.at(kPic / 2, kPic / 2) = 0x6A7B8D + 0x300000;
    std::vector<Case> v;
    for (int t : {0, 26}) {
      const std::string s = t ? "0.9" : "1.0";
      v.push_back({"desktop, present, " + s, screen, picture, t});
      v.push_back({"desktop, absent, " + s, changed, picture, t});
    }
    v.push_back({"flat, one odd pixel, 1.0", flat, dot, 0});
    v.push_back({"flat, one odd pixel, 0.9", flat, dot, 26});
    v.push_back({"flat, flat picture, 1.0", flat, flat.cut(0, 0, kPic, kPic), 0});
    return v;
  }();
  return all;
}

void BM_Find(benchmark::State& st, std::size_t which, bool plain) {
  const Case& c = cases()[which];
  std::uint64_t hits = 0;
  for (auto _ : st) {
    hits = plain ? plain_search(c.screen.image(), c.picture.image(), c.tolerance)
                 : it::find_picture(c.screen.image(), {0, 0}, c.picture.image(), {.tolerance = c.tolerance}).count;
    benchmark::DoNotOptimize(hits);
  }
  st.counters["hits"] = static_cast<double>(hits);
}

// Keeps the medians and prints them side by side with their ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        medians_[r.run_name.function_name] = r.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-30s %12s %14s %9s\n", "case (median ms)", "search", "plain search", "ratio");
    for (const Case& c : cases()) {
      const double fast = medians_["find/" + c.name], slow = medians_["plain/" + c.name];
      std::printf("%-30s %12.2f %14.1f %8.0fx\n", c.name.c_str(), fast, slow, fast > 0 ? slow / fast : 0.0);
    }
  }

 private:
  std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (std::size_t i = 0; i < cases().size(); ++i)
    for (bool plain : {false, true})
      benchmark::RegisterBenchmark(((plain ? "plain/" : "find/") + cases()[i].name).c_str(), BM_Find, i, plain)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Repetitions(plain ? 3 : 7)
          ->ReportAggregatesOnly();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
