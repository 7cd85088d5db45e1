// The flash tick of one list: phases, painting order, stopped and removed items.
#include <doctest/doctest.h>

#include "fixture.h"

using namespace tb::grouplist;
using namespace tb::grouplist::testing;

TEST_CASE("grouplist: flash ticks") {
  Fixture f;
  int g = f.list.AddGroup("g", true, 0);
  int h = f.list.AddGroup("h", false, 0);
  int a = f.item(g, "a"), b = f.item(g, "b"), c = f.item(g, "c"), hidden = f.item(h, "x");
  for (int i : {a, b, c, hidden}) f.list.StartFlashing(i);
  std::vector<int> painted;
  auto tick = [&] {
    painted.clear();
    f.in().flash_tick([&](int row) { painted.push_back(row); });
  };
  tick();
  // The last entry first; a hidden item toggles without painting.
  CHECK(painted == std::vector<int>{3, 2, 1});
  for (int i : {a, b, c, hidden}) CHECK(f.attr(i, "头像偏移") == "1");
  tick();
  CHECK(f.attr(a, "头像偏移") == "0");
  tick();
  f.list.StopFlashing(b);
  f.list.Remove(c);
  tick();
  // The stopped item is painted once more at phase 0 and leaves; the removed one is gone.
  CHECK(painted == std::vector<int>{2, 1});
  CHECK(f.attr(b, "头像偏移") == "0");
  CHECK(f.attr(a, "头像偏移") == "0");
  CHECK(f.in().flashing() == std::vector<int>{a, hidden});
  tick();
  CHECK(painted == std::vector<int>{1});
  CHECK(f.attr(b, "头像偏移") == "0");
  // Started again after stopping, it flashes again from where it is.
  f.list.StartFlashing(b);
  tick();
  CHECK(painted == std::vector<int>{2, 1});
  CHECK(f.attr(b, "头像偏移") == "1");
}
