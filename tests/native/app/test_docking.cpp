#include <doctest/doctest.h>

#include <initializer_list>

#include "app/docking.h"

using namespace tb::dock;

namespace {
constexpr Screen kScreen{1280, 1024};
constexpr int kMargin = 3;
constexpr int W = 267, H = 597;
}  // namespace

TEST_CASE("snap pulls a moved window flush against a nearby edge") {
  CHECK(snap({9, 200, W, H}, kScreen, kMargin).left == 0);
  CHECK(snap({10, 200, W, H}, kScreen, kMargin).left == 10);
  // Right edge 2 pixels from the screen edge snaps; 3 pixels stays.
  CHECK(snap({1280 - W - 2, 200, W, H}, kScreen, kMargin).left == 1280 - W);
  CHECK(snap({1280 - W - 3, 200, W, H}, kScreen, kMargin).left == 1280 - W - 3);
  CHECK(snap({300, 9, W, H}, kScreen, kMargin).top == 0);
  CHECK(snap({300, 10, W, H}, kScreen, kMargin).top == 10);
  // Only the first rule that applies: left wins over top.
  CHECK(snap({5, 5, W, H}, kScreen, kMargin) == Box{0, 5, W, H});
  CHECK(snap({-20, -20, W, H}, kScreen, kMargin) == Box{-20, -20, W, H});
}

TEST_CASE("a window parked at the top shows 3 rows and comes back when the pointer enters") {
  Box b{300, 0, W, H};
  Box parked = on_idle(b, kScreen, kMargin, 900, 700);
  CHECK(parked == Box{300, 3 - H, W, H});
  // Pointer on the visible strip (rows 0..2).
  CHECK(on_idle(parked, kScreen, kMargin, 350, 1) == Box{300, 0, W, H});
}

TEST_CASE("a window parked at the left and right edges") {
  Box left{0, 200, W, H};
  CHECK(tuck_away(left, kScreen, kMargin) == Box{3 - W, 200, W, H});
  CHECK(reveal(Box{3 - W, 200, W, H}, kScreen, kMargin) == left);

  Box right{1280 - W, 200, W, H};
  Box parked = on_idle(right, kScreen, kMargin, 10, 10);
  CHECK(parked.left == 1280 - 3);
  CHECK(on_idle(parked, kScreen, kMargin, 1279, 400).left == 1280 - W);
}

TEST_CASE("a right-parked window near the top can still be revealed") {
  Box b{1280 - 3, 5, W, H};
  Box once = reveal(b, kScreen, kMargin);
  CHECK(once == Box{1280 - 3, 0, W, H});
  CHECK(reveal(once, kScreen, kMargin) == Box{1280 - W, 0, W, H});
}

TEST_CASE("a window in the middle never moves by itself") {
  Box mid{400, 200, W, H};
  for (int px : {0, 500, 1279})
    for (int py : {0, 300, 1023}) {
      CHECK(on_idle(mid, kScreen, kMargin, px, py) == mid);
      CHECK(on_timer(mid, kScreen, kMargin, px, py) == mid);
    }
}

TEST_CASE("the timer tucks away but never reveals; its test excludes right and bottom") {
  Box top{300, 0, W, H};
  CHECK(on_timer(top, kScreen, kMargin, 300 + W, 10) == Box{300, 3 - H, W, H});
  CHECK(on_timer(top, kScreen, kMargin, 300 + W - 1, 10) == top);
  Box parked{300, 3 - H, W, H};
  CHECK(on_timer(parked, kScreen, kMargin, 350, 1) == parked);
  // The idle check counts the right edge as inside.
  CHECK(on_idle(top, kScreen, kMargin, 300 + W, 10) == top);
}

TEST_CASE("the call-out hotkey brings a parked window into view") {
  CHECK(activate({300, 3 - H, W, H}, kScreen) == Box{300, 10, W, H});
  CHECK(activate({3 - W, 100, W, H}, kScreen) == Box{10, 100, W, H});
  CHECK(activate({1277, 100, W, H}, kScreen) == Box{1280 - W - 10, 100, W, H});
  CHECK(activate({1275, 100, W, H}, kScreen) == Box{1275, 100, W, H});
}
