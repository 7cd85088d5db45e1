// The list model at 1,000, 10,000 and 100,000 items in 100 groups, on the in-memory host.
// Items are added round-robin over the groups, the order that hurts row renumbering most.
// Every timed operation starts from the same state: what an iteration changed (the sort's
// order, the host's record of redrawn rows) is put back outside the timed region.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "widgets/grouplist/grouplist.h"
#include "tests/support/grouplist/memory_host.h"

using namespace tb::grouplist;

namespace {

constexpr int kGroups = 100;

class NullPictures : public PictureService {
 public:
  Picture load(std::string_view, Colour) override { return {++next_, 32, 32}; }
  std::intptr_t make_grey(std::intptr_t) override { return ++next_; }
  std::intptr_t extend_strip(std::intptr_t, int, const Picture&) override { return ++next_; }
  void destroy(std::intptr_t) override {}

 private:
  std::intptr_t next_ = 1000;
};

struct List {
  List() { list.Create(host.add_window(), 0, 0, false); }

  void load(int n, bool expanded) {
    list.DeleteGroups(0, false);
    groups.clear();
    items.clear();
    for (int g = 0; g < kGroups; ++g) groups.push_back(list.AddGroup("组" + std::to_string(g), expanded, 0));
    ItemRecord r;
    r.avatar = "picture";
    for (int k = 0; k < n; ++k) {
      r.group = groups[static_cast<std::size_t>(k % kGroups)];
      r.name = "项目" + std::to_string(k);
      r.number = std::to_string(k);
      r.online = k % 3 != 0;
      list.AddItem(r, {}, false);
      items.push_back(r.handle);
    }
  }

  // Forgets the rows the host was asked to redraw, so the record does not grow over iterations.
  void clear_host() {
    if (MemoryListWindow* w = host.list(list.list_window())) {
      w->redrawn_rows.clear();
      w->pauses.clear();
    }
  }

  NullPictures pictures;
  MemoryHost host{pictures};
  GroupList list{host};
  std::vector<int> groups, items;
};

void set_counters(benchmark::State& state, int n) {
  state.counters["items"] = n;
  state.counters["groups"] = kGroups;
}

void BM_LoadExpanded(benchmark::State& state) {
  List l;
  int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    l.list.DeleteGroups(0, false);
    l.clear_host();
    state.ResumeTiming();
    l.load(n, true);
  }
  set_counters(state, n);
}

void BM_LoadCollapsed(benchmark::State& state) {
  List l;
  int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    l.list.DeleteGroups(0, false);
    l.clear_host();
    state.ResumeTiming();
    l.load(n, false);
  }
  set_counters(state, n);
}

void BM_ExpandAll(benchmark::State& state) {
  List l;
  int n = static_cast<int>(state.range(0));
  l.load(n, false);
  for (auto _ : state) {
    state.PauseTiming();
    l.list.CollapseAll();
    l.clear_host();
    state.ResumeTiming();
    l.list.ExpandAll();
  }
  set_counters(state, n);
}

void BM_CollapseAll(benchmark::State& state) {
  List l;
  int n = static_cast<int>(state.range(0));
  l.load(n, true);
  for (auto _ : state) {
    state.PauseTiming();
    l.list.ExpandAll();
    l.clear_host();
    state.ResumeTiming();
    l.list.CollapseAll();
  }
  set_counters(state, n);
}

void BM_SortAllGroups(benchmark::State& state) {
  List l;
  int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    // A fresh load each time: sorting once leaves every group sorted, online items first.
    state.PauseTiming();
    l.load(n, true);
    l.clear_host();
    state.ResumeTiming();
    l.list.SortAllGroups();
  }
  set_counters(state, n);
}

void BM_FindItemByNameLast(benchmark::State& state) {
  List l;
  int n = static_cast<int>(state.range(0));
  l.load(n, true);
  std::string last = "项目" + std::to_string(n - 1);
  for (auto _ : state) benchmark::DoNotOptimize(l.list.FindItemByName(last));
  set_counters(state, n);
}

void BM_GetHandleAtAllRows(benchmark::State& state) {
  List l;
  int n = static_cast<int>(state.range(0));
  l.load(n, true);
  int rows = n + kGroups;
  for (auto _ : state) {
    long sum = 0;
    for (int r = 0; r < rows; ++r) sum += l.list.GetHandleAt(r);
    benchmark::DoNotOptimize(sum);
  }
  set_counters(state, n);
}

// A tenth of the items, picked at random over all groups and positions, removed in random order.
void BM_RemoveTenthOfItems(benchmark::State& state) {
  List l;
  int n = static_cast<int>(state.range(0));
  std::mt19937 rng(7);
  for (auto _ : state) {
    state.PauseTiming();
    l.load(n, true);
    l.clear_host();
    std::vector<int> victims = l.items;
    std::shuffle(victims.begin(), victims.end(), rng);
    victims.resize(victims.size() / 10);
    state.ResumeTiming();
    for (int h : victims) l.list.Remove(h);
  }
  set_counters(state, n);
}

void sizes(benchmark::internal::Benchmark* b) { b->Arg(1000)->Arg(10000)->Arg(100000); }

}  // namespace

BENCHMARK(BM_LoadExpanded)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCollapsed)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandAll)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CollapseAll)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortAllGroups)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindItemByNameLast)->Apply(sizes)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_GetHandleAtAllRows)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RemoveTenthOfItems)->Apply(sizes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
