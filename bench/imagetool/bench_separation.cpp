// Colour separation of a whole 4K screenshot (3840 x 2160), as "颜色分离" runs it on the
// picture panel's buffer. The picture mixes what screenshots hold: flat window backgrounds,
// text in the kept colour with anti-aliased edges one step off it, and photo-like noise.
// Goal: under 20 ms a picture.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/colour.h"
#include "imagetool/readout.h"

namespace {

constexpr int kWidth = 3840, kHeight = 2160;
constexpr std::uint32_t kKeep = 0x1E1E1E;        // GDI colour of the text
constexpr std::uint32_t kBackground = 0xFFFFFF;  // GDI white

std::vector<std::uint32_t> screenshot() {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(kWidth) * kHeight);
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  const std::uint32_t text = tb::colour::to_pixel(kKeep);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      // Tiles of 64 x 16 pixels: 6 in 10 flat, 3 in 10 text, 1 in 10 photo.
      const std::uint32_t tile = static_cast<std::uint32_t>((x / 64) * 7919 + (y / 16) * 104729) % 10;
      const std::uint32_t r = next() >> 8;
      std::uint32_t p = 0xF0F0F0;
      if (tile >= 6 && tile < 9) {
        const std::uint32_t k = r % 4;
        p = k == 0 ? text : k == 1 ? text + 0x010101 : 0xF0F0F0;
      } else if (tile == 9) {
        p = r & 0xFFFFFF;
      }
      px[static_cast<std::size_t>(y) * kWidth + x] = 0xFF000000u | p;  // a screenshot's alpha byte is set
    }
  }
  return px;
}

void BM_SeparateColours(benchmark::State& st) {
  static const std::vector<std::uint32_t> source = screenshot();
  std::vector<std::uint32_t> work(source.size());
  std::size_t kept = 0;
  for (auto _ : st) {
    st.PauseTiming();
    std::memcpy(work.data(), source.data(), source.size() * sizeof source[0]);
    st.ResumeTiming();
    tb::imagetool::separate_colours(work.data(), work.size(), kKeep, kBackground);
    benchmark::DoNotOptimize(work.data());
    benchmark::ClobberMemory();
  }
  for (std::uint32_t p : work) kept += (p & 0xFFFFFF) == tb::colour::to_pixel(kKeep);
  const double pixels = static_cast<double>(source.size());
  // Shown with SI prefixes: "pixels" as e.g. 4.2G/s, "per_picture" as e.g. 1.9ms.
  st.counters["pixels"] = benchmark::Counter(pixels, benchmark::Counter::kIsIterationInvariantRate);
  st.counters["per_picture"] =
      benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  st.counters["kept_%"] = 100.0 * static_cast<double>(kept) / pixels;
}
BENCHMARK(BM_SeparateColours)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
