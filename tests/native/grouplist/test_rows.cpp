// Random sequences of operations against a plain reference: the document, the rows and every
// row index must agree with it after each step.
#include <doctest/doctest.h>

#include <algorithm>
#include <random>

#include "fixture.h"

using namespace tb::grouplist;
namespace xml = tb::xml;
using tb::grouplist::testing::Fixture;

namespace {

struct RefItem {
  int handle;
  bool online;
};
struct RefGroup {
  int handle;
  bool expanded;
  std::vector<RefItem> items;
};

std::vector<int> expected_rows(const std::vector<RefGroup>& groups) {
  std::vector<int> rows;
  for (const RefGroup& g : groups) {
    rows.push_back(g.handle);
    if (g.expanded)
      for (const RefItem& it : g.items) rows.push_back(it.handle);
  }
  return rows;
}

}  // namespace

TEST_CASE("grouplist: random operations keep document, rows and row indexes in step") {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    CAPTURE(seed);
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    Fixture f;
    std::vector<RefGroup> groups;
    for (int step = 0; step < 400; ++step) {
      int op = pick(100);
      if (groups.empty() || op < 8) {
        bool expanded = pick(2) != 0;
        groups.push_back({f.list.AddGroup("g", expanded, 0), expanded, {}});
      } else {
        RefGroup& g = groups[static_cast<std::size_t>(pick(static_cast<int>(groups.size())))];
        if (op < 55) {
          bool online = pick(2) != 0;
          int h = f.item(g.handle, "i" + std::to_string(step), online);
          REQUIRE(h != 0);
          g.items.push_back({h, online});
        } else if (op < 65 && !g.items.empty()) {
          auto it = g.items.begin() + pick(static_cast<int>(g.items.size()));
          REQUIRE(f.list.Remove(it->handle));
          g.items.erase(it);
        } else if (op < 75) {
          g.expanded ? f.list.CollapseGroup(g.handle) : f.list.ExpandGroup(g.handle);
          g.expanded = !g.expanded;
        } else if (op < 80 && !g.items.empty()) {
          RefItem& it = g.items[static_cast<std::size_t>(pick(static_cast<int>(g.items.size())))];
          it.online ? f.list.SetOffline(it.handle) : f.list.SetOnline(it.handle, 0);
          it.online = !it.online;
        } else if (op < 85) {
          f.list.SortGroup(g.handle);
          std::stable_partition(g.items.begin(), g.items.end(), [](const RefItem& it) { return it.online; });
        } else if (op < 88) {
          f.list.ClearGroupItems(g.handle, true);
          g.items.clear();
        } else if (op < 91) {
          REQUIRE(f.list.Remove(g.handle));
          groups.erase(groups.begin() + (&g - groups.data()));
        } else if (op < 94) {
          f.list.ExpandAll();
          for (RefGroup& x : groups) x.expanded = true;
        } else if (op < 97) {
          f.list.CollapseAll();
          for (RefGroup& x : groups) x.expanded = false;
        } else if (op < 98) {
          f.list.DeleteGroups(0, false);
          groups.clear();
        }
      }
      REQUIRE(f.rows() == expected_rows(groups));
      if (step % 20 == 0) f.check_consistent();
    }
    f.check_consistent();
    // The document holds exactly the reference, in its order.
    xml::Element* ge = f.in().document->root()->first_child();
    for (const RefGroup& g : groups) {
      REQUIRE(ge);
      CHECK(ge->name() == "Item" + std::to_string(g.handle));
      REQUIRE(ge->child_count() == g.items.size());
      xml::Element* ie = ge->first_child();
      for (const RefItem& it : g.items) {
        CHECK(ie->name() == "Item" + std::to_string(it.handle));
        ie = ie->next_sibling();
      }
      ge = ge->next_sibling();
    }
    CHECK(ge == nullptr);
    f.list.DeleteGroups(0, false);
    CHECK(f.pics.live.empty());
    CHECK(f.pics.bad_frees == 0);
  }
}

TEST_CASE("grouplist: the in-memory row store matches a plain vector") {
  std::mt19937 rng(99);
  RowStore store;
  std::vector<std::intptr_t> ref;
  std::intptr_t next = 1;
  for (int step = 0; step < 3000; ++step) {
    int size = static_cast<int>(ref.size());
    if (rng() % 3 != 0 || size == 0) {
      // Blocks up to a few thousand rows, so that chunks split into several pieces.
      std::size_t n = rng() % 8 == 0 ? 1 + rng() % 3000 : 1 + rng() % 4;
      int at = static_cast<int>(rng() % static_cast<unsigned>(size + 1));
      std::vector<RowSpec> rows;
      std::vector<std::intptr_t> data;
      for (std::size_t k = 0; k < n; ++k, ++next) {
        rows.push_back({20, next});
        data.push_back(next);
      }
      store.insert(at, rows.data(), rows.size());
      ref.insert(ref.begin() + at, data.begin(), data.end());
    } else {
      int at = static_cast<int>(rng() % static_cast<unsigned>(size));
      int n = 1 + static_cast<int>(rng() % static_cast<unsigned>(std::min(size - at, rng() % 4 == 0 ? 2500 : 5)));
      store.erase(at, n);
      ref.erase(ref.begin() + at, ref.begin() + at + n);
    }
    REQUIRE(store.size() == static_cast<int>(ref.size()));
    if (step % 50 == 0 || ref.size() < 20) {
      std::vector<std::intptr_t> got;
      for (int r = 0; r < store.size(); ++r) got.push_back(store.at(r).data);
      REQUIRE(got == ref);
    }
  }
}
