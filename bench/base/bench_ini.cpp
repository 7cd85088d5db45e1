// Reading every launcher item of a large set.ini: parse once, then look up each key.
#include <benchmark/benchmark.h>

#include <string>

#include "base/ini.h"

namespace {

std::string make_set_ini(int sections) {
  std::string s;
  for (int i = 1; i <= sections; ++i) {
    std::string n = std::to_string(i);
    s += "[" + n + "]\r\nfl=分组" + std::to_string(i % 100) + "\r\nname=项目" + n +
         "\r\npath=C:\\Program Files\\工具\\app" + n + ".exe\r\nhelp=说明文字 " + n + "\r\n";
  }
  return s;
}

void BM_ReadAllItems(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  const std::string file = make_set_ini(n);
  std::size_t total = 0;
  for (auto _ : st) {
    tb::IniDocument doc = tb::IniDocument::parse(file);
    const int count = static_cast<int>(doc.section_names().size());
    for (int i = 1; i <= count; ++i) {
      std::string sec = std::to_string(i);
      total += doc.get(sec, "fl").size() + doc.get(sec, "name").size() + doc.get(sec, "path").size() +
               doc.get(sec, "help").size();
    }
  }
  benchmark::DoNotOptimize(total);
  st.counters["sections"] = n;
  st.counters["MB/s"] = benchmark::Counter(static_cast<double>(file.size()) * static_cast<double>(st.iterations()),
                                           benchmark::Counter::kIsRate, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_ReadAllItems)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
