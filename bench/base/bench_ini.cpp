// Reading every launcher item of a large set.ini from disk, as the launcher does: load the
// file, count the sections through the section-name list, then read the four keys of
// sections "1" to N. The list is cut at 204,800 bytes as the platform's is, so at 100k
// sections only the first ~36k are counted and read; the rows say how many were.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "base/fileio.h"
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

struct File {
  std::string path;
  std::size_t bytes = 0;
};

// One file per size in the temporary folder, written once and removed at exit.
const File& set_ini(int sections) {
  static std::map<int, File> files;
  static struct Cleanup {
    ~Cleanup() {
      for (auto& [n, f] : files) std::remove(f.path.c_str());
    }
  } cleanup;
  File& f = files[sections];
  if (f.path.empty()) {
    f.path = (std::filesystem::temp_directory_path() / ("tb_bench_set_" + std::to_string(sections) + ".ini")).string();
    const std::string bytes = make_set_ini(sections);
    f.bytes = bytes.size();
    if (!tb::write_file_atomic(f.path, bytes)) std::fprintf(stderr, "cannot write %s\n", f.path.c_str());
  }
  return f;
}

void SetCounters(benchmark::State& st, int sections, std::size_t read, const File& f) {
  st.counters["in_file"] = sections;
  st.counters["sections_read"] = static_cast<double>(read);
  st.counters["file_MB"] = static_cast<double>(f.bytes) / 1e6;
}

// Load and parse only: the whole file, whatever the section list later keeps.
void BM_LoadFile(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  const File& f = set_ini(n);
  std::size_t read = 0;
  for (auto _ : st) {
    tb::IniDocument doc = tb::ini_load(f.path);
    read = doc.section_names().size();
    benchmark::DoNotOptimize(doc);
  }
  SetCounters(st, n, read, f);
  st.counters["MB/s"] = benchmark::Counter(static_cast<double>(f.bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// The launcher's read: load, count, then every key of every counted section.
void BM_ReadAllItems(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  const File& f = set_ini(n);
  std::size_t total = 0, read = 0;
  for (auto _ : st) {
    tb::IniDocument doc = tb::ini_load(f.path);
    read = doc.section_names().size();
    for (std::size_t i = 1; i <= read; ++i) {
      std::string sec = std::to_string(i);
      total += doc.get(sec, "fl").size() + doc.get(sec, "name").size() + doc.get(sec, "path").size() +
               doc.get(sec, "help").size();
    }
  }
  benchmark::DoNotOptimize(total);
  SetCounters(st, n, read, f);
  // Rates over what was really read: items (four keys each) per second.
  st.counters["items/s"] = benchmark::Counter(static_cast<double>(read), benchmark::Counter::kIsIterationInvariantRate);
}

// Five repetitions of at least half a second each: the median and the spread are printed.
BENCHMARK(BM_LoadFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadAllItems)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
