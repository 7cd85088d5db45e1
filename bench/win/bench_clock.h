// Timing for the Win32 benchmarks: a monotonic clock and the figures of a set of samples.
#pragma once
#include <windows.h>

#include <algorithm>
#include <vector>

namespace tb::test {

inline double now_ms() {
  static const LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}
inline double now_us() { return now_ms() * 1000.0; }

struct Figures {
  double mean = 0, median = 0, p95 = 0, min = 0, max = 0, p99 = 0;
};

inline Figures figures(std::vector<double> v) {
  if (v.empty()) return {};
  std::sort(v.begin(), v.end());
  double sum = 0;
  for (double x : v) sum += x;
  return {sum / static_cast<double>(v.size()), v[v.size() / 2], v[v.size() * 95 / 100], v.front(), v.back(),
          v[v.size() * 99 / 100]};
}

}  // namespace tb::test
