// The service icon layout shared by drawing and hit testing.
#include <doctest/doctest.h>

#include "widgets/grouplist/icon_layout.h"

using namespace tb::grouplist;

TEST_CASE("grouplist: service icon slots") {
  std::vector<IconSlot> s;
  // Icon 7 of three loaded takes no slot and leaves no gap; so do 0 and negatives.
  lay_out_icons(3, {1, 7, 2, 0, -1, 3}, 54, 96, s);
  REQUIRE(s.size() == 3);
  const IconSlot want[] = {{50, 35, 66, 51, 1}, {68, 35, 84, 51, 2}, {86, 35, 102, 51, 3}};
  for (int k = 0; k < 3; ++k) {
    CAPTURE(k);
    CHECK(s[k].left == want[k].left);
    CHECK(s[k].top == want[k].top);
    CHECK(s[k].right == want[k].right);
    CHECK(s[k].bottom == want[k].bottom);
    CHECK(s[k].number == want[k].number);
  }
  lay_out_icons(3, {2}, 30, 96, s);
  CHECK(s[0].top == 11);
  lay_out_icons(0, {1, 2}, 54, 96, s);
  CHECK(s.empty());

  // Strictly inside: edges do not count.
  lay_out_icons(3, {1, 2}, 54, 96, s);
  struct Hit {
    int x, y, place;
  } hits[] = {{70, 40, 2}, {67, 40, 0}, {51, 36, 1}, {50, 40, 0}, {66, 40, 0}, {60, 35, 0}, {60, 51, 0}, {83, 50, 2}};
  for (const Hit& h : hits) {
    CAPTURE(h.x);
    CAPTURE(h.y);
    CHECK(icon_at(s, h.x, h.y) == h.place);
  }

  // At 144 DPI every size grows by half, measured from the scaled row.
  lay_out_icons(3, {1, 2}, 81, 144, s);
  CHECK(s[0].left == 75);
  CHECK(s[0].right == 99);
  CHECK(s[0].top == 52);
  CHECK(s[1].left == 102);
  CHECK(scale_px(11, 120) == 14);  // 13.75 rounds up
}
