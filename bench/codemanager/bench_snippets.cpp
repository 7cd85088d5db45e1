// The snippet library on disk, natively: searching the sources of 10,000 snippets of 100
// lines (the first hit and all of them, with the source cache empty and filled), and the cost
// of the version a save keeps for a 10,000-line source.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <string>
#include <vector>

#include "base/fileio.h"
#include "codemanager/content_search.h"
#include "codemanager/folder_ops.h"
#include "codemanager/snippet_store.h"

namespace {

using tb::snippets::SnippetRef;

double now_ms() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// 100 lines; snippet k clicks the blue button on line 90 when k % 100 == 7.
std::string SourceOf(int k) {
  static const char* lines[] = {"KeyPress 65,1", "Delay 100", "If a = 1 Then", "MoveTo 100,200", "EndIf",
                                "// 说明：找图后点击", "FindPic 0,0,800,600,\"a.bmp\",0.9,x,y", "LeftClick 1"};
  std::string s;
  for (int i = 1; i <= 100; ++i) {
    s += i == 90 && k % 100 == 7 ? "// 点击蓝色按钮 " + std::to_string(k) : lines[(i + k) % 8];
    s += "\r\n";
  }
  return s;
}

// A library of 100 main items of 100 snippets each, made once in a temporary folder.
struct Library {
  std::string base;
  tb::snippets::Store store{""};
  std::vector<SnippetRef> refs;
  Library() {
    char t[] = "/tmp/tb_bench_snippets_XXXXXX";
    base = mkdtemp(t);
    store = tb::snippets::Store(base + "/代码管理器");
    for (int m = 0; m < 100; ++m)
      for (int k = 0; k < 100; ++k) {
        refs.push_back({"主" + std::to_string(m), "片段" + std::to_string(k)});
        tb::snippets::make_folders(store.snippet_folder(refs.back().main, refs.back().sub));
        tb::write_file_atomic(store.source_path(refs.back().main, refs.back().sub), SourceOf(m * 100 + k));
      }
  }
  ~Library() { tb::fs::remove_tree(base); }
};
Library& Lib() {
  static Library lib;
  return lib;
}

// range(0): 0 a new cache every run (every file read), 1 one cache kept (only stamps asked).
void BM_ContentSearch(benchmark::State& state, const char* typed) {
  Library& lib = Lib();
  tb::snippets::SourceCache kept;
  std::vector<double> first;
  int hits = 0;
  for (auto _ : state) {
    tb::snippets::SourceCache fresh;
    const double t0 = now_ms();
    double at = -1;
    hits = 0;
    tb::snippets::scan_sources(lib.store, state.range(0) ? kept : fresh, lib.refs, typed, [] { return false; },
                               [&](std::size_t, int) {
                                 if (hits++ == 0) at = now_ms() - t0;
                               });
    first.push_back(at < 0 ? now_ms() - t0 : at);
  }
  double sum = 0;
  for (double f : first) sum += f;
  state.counters["first_hit_ms"] = sum / static_cast<double>(first.size());
  state.counters["hits"] = hits;
}

// range(0): 1 through the store (the old source kept as a version, 20 kept already), 0 the
// file written alone.
void BM_SaveSource(benchmark::State& state) {
  Library& lib = Lib();
  std::string big;
  for (int i = 0; i < 100; ++i) big += SourceOf(i);  // 10,000 lines
  const SnippetRef& ref = lib.refs[1];
  int n = 0;
  for (int i = 0; i < 25; ++i) lib.store.save_source(ref.main, ref.sub, big + std::to_string(n++));
  for (auto _ : state) {
    const std::string text = big + std::to_string(n++);
    if (state.range(0)) lib.store.save_source(ref.main, ref.sub, text);
    else tb::write_file_atomic(lib.store.source_path(ref.main, ref.sub), text);
  }
}

}  // namespace

BENCHMARK_CAPTURE(BM_ContentSearch, blue_button, "蓝色按钮")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContentSearch, keypress, "keypress")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContentSearch, no_hit, "no such text")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveSource)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
