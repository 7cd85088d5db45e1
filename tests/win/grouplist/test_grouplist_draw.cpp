// The list control drawn and driven on real windows under Wine: painted pixels, row heights,
// the events of real pointer input, flashing over real ticks and the online blink.
#include <doctest/doctest.h>

#include <cstdlib>
#include <ostream>
#include <map>

#include "platform/hook.h"
#include "platform/theme.h"
#include "tests/support/grouplist/testing_win.h"
#include "tests/support/win_test_util.h"
#include "tests/win/grouplist/list_driver.h"
#include "widgets/grouplist/events_win.h"

using namespace list_test;

namespace list_test {
// Printed when an event check fails.
inline std::ostream& operator<<(std::ostream& o, const std::vector<Event>& v) {
  for (const Event& e : v) o << "{" << e.kind << ", " << e.a << ", " << e.b << ", " << e.c << "} ";
  return o;
}
}  // namespace list_test

namespace {

bool close_to(COLORREF a, COLORREF b, int tol = 2) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tol && std::abs(GetGValue(a) - GetGValue(b)) <= tol &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tol;
}

// Whether any pixel of the row-relative box passes the test (text colour checks).
template <class F>
bool any_pixel(const ListDriver& d, int row, int l, int t, int r, int b, F f) {
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
      if (f(d.px(row, x, y))) return true;
  return false;
}
bool reddish(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110; }
bool darkish(COLORREF c) { return GetRValue(c) < 110 && GetGValue(c) < 110 && GetBValue(c) < 110; }

constexpr COLORREF kAvatar = RGB(0x30, 0x70, 0xC0);  // bmp_file's default 0x3070C0
constexpr COLORREF kGrey = RGB(101, 101, 101);       // (30 * 48 + 59 * 112 + 11 * 192) / 100
constexpr COLORREF kRed = RGB(255, 0, 0);

// Paints of each (list, row), counted through the painter's observer.
struct PaintLog {
  PaintLog() {
    set_paint_observer([this](HWND w, int row) {
      ++counts[{w, row}];
      if (on_paint) on_paint(w, row);
    });
  }
  ~PaintLog() { set_paint_observer(nullptr); }
  std::map<std::pair<HWND, int>, int> counts;
  std::function<void(HWND, int)> on_paint;
};

// How many more GDI objects the process can make (GetGuiResources answers 0 under Wine).
int free_gdi_slots() {
  std::vector<HBRUSH> made;
  while (made.size() < 100000) {
    HBRUSH b = CreateSolidBrush(0);
    if (!b) break;
    made.push_back(b);
  }
  for (HBRUSH b : made) DeleteObject(b);
  return static_cast<int>(made.size());
}

}  // namespace

TEST_CASE("grouplist drawing: rows as painted in every state") {
  // 102 wide: the third icon (86..102) reaches the right edge and is left out.
  ListDriver d(0, false, 102, 300);
  REQUIRE(d.ok);
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0xFF0000, 0xFF00FF, 8)) == 1);  // left half see-through
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0x0000FF)) == 2);
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0x00FF00)) == 3);
  d.list.SetGroupRowStyle(1, 0x800000, 0xF0E0D0, 0x008000, 0xD0F0D0, 0x000080, 0xD0D0F0);
  d.list.SetItemRowStyle(1, 0x404040, 0xFAFAFA, 0x00A0A0, 0xE0FFFF, 0xA000A0, 0xFFE0FF);
  int g = d.group("组", true, kRed);
  int a = d.item(g, "在线", true, 0x3070C0, {1, 7, 2, 3}, "签名", kRed);
  int b = d.item(g, "离线", false, 0x3070C0, {}, "", kRed);
  d.group("收起", false, 0);
  REQUIRE((a && b));
  pump(100);
  const int W = d.row_rect(0).right;
  REQUIRE(W == 102);

  // Group rows: box frame and fill, the arrow cell of their state.
  CHECK(d.px(0, 0, 12) == 0x800000);
  CHECK(d.px(0, 90, 2) == 0xF0E0D0);
  CHECK(d.px(0, 5 + 1, 6 + 3) == tb::theme::kAccentDark);  // expanded: down-pointing
  CHECK(d.px(0, 5 + 3, 6 + 1) == 0xF0E0D0);
  CHECK(d.px(3, 5 + 3, 6 + 1) == tb::theme::kAccentDark);  // collapsed: right-pointing
  CHECK(d.px(3, 5 + 4, 6 + 5) == tb::theme::kAccent);
  CHECK(d.px(3, 5 + 1, 6 + 3) == 0xF0E0D0);
  CHECK(any_pixel(d, 0, 25, 6, 60, 22, reddish));  // the group's name colour

  // Item rows in the large layout: avatar box at (4, 5), 44 x 44, picture 40 x 40 inside.
  CHECK(d.height(1) == 54);
  CHECK(d.px(1, 3, 5) == 0xFAFAFA);
  CHECK(d.px(1, 4, 5) == 0xE9E3D7);
  CHECK(d.px(1, 47, 48) == 0xE9E3D7);
  CHECK(d.px(1, 5, 6) == 0xFFFFFF);
  CHECK(close_to(d.px(1, 6, 7), kAvatar));
  CHECK(close_to(d.px(1, 45, 46), kAvatar));
  CHECK(d.px(1, 46, 47) == 0xFFFFFF);
  CHECK(any_pixel(d, 1, 50, 5, 98, 20, reddish));
  // The signature in 0x606060; small text is smoothed, so its strokes come out lighter.
  CHECK(any_pixel(d, 1, 50, 21, 98, 33, [](COLORREF c) {
    return GetRValue(c) < 0xC0 && GetRValue(c) >= 0x60 && close_to(c, RGB(GetRValue(c), GetRValue(c), GetRValue(c)), 6);
  }));
  CHECK(d.px(1, 75, 43) == 0xFAFAFA);  // icons only on the hover row
  // Offline: grey picture and a black name, whatever the name colour.
  CHECK(close_to(d.px(2, 25, 25), kGrey));
  CHECK_FALSE(any_pixel(d, 2, 50, 5, 98, 20, reddish));
  CHECK(any_pixel(d, 2, 50, 5, 98, 20, darkish));

  SUBCASE("hover shows the icons that fit, the hovered one lit") {
    d.send(WM_MOUSEMOVE, 30, d.row_rect(1).top + 20);
    CHECK(d.in().hover_row == 1);
    CHECK(d.px(1, 0, 2) == 0x00A0A0);
    CHECK(d.px(1, 98, 2) == 0xE0FFFF);
    CHECK(d.px(1, 62, 43) == kRed);        // icon 1, opaque half
    CHECK(d.px(1, 52, 43) == 0xE0FFFF);    // icon 1, key colour: the row shows through
    CHECK(d.px(1, 75, 43) == RGB(0, 0, 255));  // icon 2 at 68 (icon 7 took no slot)
    CHECK(d.px(1, 94, 43) == 0xE0FFFF);    // icon 3 does not fit
    d.send(WM_MOUSEMOVE, 60, d.row_rect(1).top + 43);
    CHECK(d.in().hovered_icon == 1);
    CHECK(d.px(1, 52, 43) == 0xBEE8FC);
    CHECK(d.px(1, 49, 34) == 0x438ACE);
    d.list.SetServiceIconHighlight(kNoColour);
    pump(100);
    CHECK(d.px(1, 52, 43) == 0xE0FFFF);
    CHECK(d.px(1, 49, 34) == 0x438ACE);
    // Onto the group row: the item row is plain again.
    d.send(WM_MOUSEMOVE, 60, 12);
    CHECK(d.px(0, 90, 2) == 0xD0F0D0);
    CHECK(d.px(0, 0, 12) == 0x008000);
    CHECK(d.px(1, 75, 43) == 0xFAFAFA);
    CHECK(d.px(1, 98, 2) == 0xFAFAFA);
  }
  SUBCASE("selected rows, rounded shapes, rows without an element") {
    d.click(60, d.row_rect(2).top + 10);
    CHECK(d.in().selected_row == 2);
    CHECK(d.px(2, 98, 2) == 0xFFE0FF);
    CHECK(d.px(2, 0, 10) == 0xA000A0);
    d.click(60, d.row_rect(3).top + 10);  // the empty group: toggled and selected
    CHECK(d.in().selected_row == 3);
    CHECK(d.px(3, 90, 2) == 0xD0D0F0);
    CHECK(d.px(2, 98, 2) == 0xFAFAFA);
    CHECK(d.px(3, 5 + 1, 6 + 3) == tb::theme::kAccentDark);
    d.list.SetItemRowStyle();  // rounded, defaults
    pump(100);
    d.list.SelectItem(a);
    CHECK(d.px(1, 0, 0) == 0xFFFFFF);  // the corner is cut
    CHECK(d.px(1, 50, 0) == 0x26C8FD);
    CHECK(d.px(1, 50, 53) == 0x26C8FD);
    CHECK(d.px(1, 98, 2) == 0xA9E7FF);
    std::uint64_t before = rows_painted();
    paint_row(d.hwnd(), 99);
    paint_row(d.hwnd(), -1);
    CHECK(rows_painted() == before);
  }
}

TEST_CASE("grouplist drawing: medium and small layouts, enlarged selection") {
  ListDriver d(1, true, 200, 300);
  REQUIRE(d.ok);
  int g = d.group("组", true);
  int a = d.item(g, "甲", true, 0x3070C0, {1}, "", kRed);
  d.item(g, "乙", false, 0x3070C0, {}, "", kRed);
  int h = d.group("空", true);
  REQUIRE((a && h));
  pump(100);
  auto heights = [&] {
    std::vector<int> v;
    for (int i = 0; i < 4; ++i) v.push_back(d.height(i));
    return v;
  };
  CHECK(heights() == std::vector<int>{24, 30, 30, 24});
  // Medium: avatar box 24 x 24 at (4, 3), picture 20 x 20, the name centred beside it.
  CHECK(d.px(1, 4, 3) == 0xE9E3D7);
  CHECK(close_to(d.px(1, 6, 5), kAvatar));
  CHECK(close_to(d.px(1, 25, 24), kAvatar));
  CHECK(d.px(1, 26, 25) == 0xFFFFFF);
  CHECK(any_pixel(d, 1, 30, 8, 60, 22, reddish));
  CHECK(close_to(d.px(2, 15, 15), kGrey));
  CHECK_FALSE(any_pixel(d, 2, 30, 8, 60, 22, reddish));

  struct Step {
    int row;  // -1: below the last row
    std::vector<int> want;
    int selected;
  } steps[] = {
      {1, {24, 54, 30, 24}, 1}, {2, {24, 30, 54, 24}, 2}, {3, {24, 30, 30, 24}, 3},
      {1, {24, 54, 30, 24}, 1}, {-1, {24, 30, 30, 24}, -1},
  };
  for (const Step& s : steps) {
    CAPTURE(s.row);
    int y = s.row < 0 ? d.row_rect(3).bottom + 20 : d.row_rect(s.row).top + 10;
    d.click(100, y);
    CHECK(heights() == s.want);
    CHECK(d.in().selected_row == s.selected);
  }
  // The enlarged row is drawn in the large layout.
  d.click(100, d.row_rect(1).top + 10);
  pump(100);
  CHECK(d.px(1, 4, 5) == 0xE9E3D7);
  CHECK(close_to(d.px(1, 45, 46), kAvatar));

  // Small: no avatar, black names; the selected row keeps its height.
  d.list.SetSmallView(true);
  pump(100);
  CHECK(heights() == std::vector<int>{24, 54, 20, 24});
  CHECK(d.px(2, 15, 10) == 0xFFFFFF);
  CHECK_FALSE(any_pixel(d, 2, 5, 2, 60, 18, reddish));
  CHECK(any_pixel(d, 2, 5, 2, 60, 18, darkish));
  d.click(100, d.row_rect(2).top + 10);
  CHECK(heights() == std::vector<int>{24, 20, 54, 24});
}

TEST_CASE("grouplist drawing: events of real pointer input") {
  ListDriver d(0, false, 220, 400);
  REQUIRE(d.ok);
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0x0000FF)) == 1);
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0x00FF00)) == 2);
  int g = d.group("组", true);
  int p = d.item(g, "图标", true, 0x3070C0, {1, 2});
  int q = d.item(g, "无图标", true);
  int h = d.group("三项", false);
  for (const char* n : {"一", "二", "三"}) REQUIRE(d.item(h, n, true));
  REQUIRE((p && q));
  pump(100);
  auto client = [&](int row, int x, int y) {
    RECT r = d.row_rect(row);
    return std::pair<int, int>{r.left + x, r.top + y};
  };
  auto go = [&](POINT pt) {
    move_to(pt);
    pump(80);
  };
  auto press = [&](std::initializer_list<DWORD> flags) {
    d.events.clear();
    buttons(flags);
    pump(150);
  };
  const DWORD click[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};

  // From empty space onto row 1, within it, on to row 2, and out of the window.
  go(d.at(3, 100, 30 + 24));
  CHECK(d.events.empty());
  go(d.at(1, 20, 10));
  auto [x1, y1] = client(1, 20, 10);
  CHECK(d.events == std::vector<Event>{{5, -1, x1, y1}, {4, p, x1, y1}});
  d.events.clear();
  go(d.at(1, 24, 14));
  CHECK(d.events.empty());
  go(d.at(2, 20, 10));
  auto [x2, y2] = client(2, 20, 10);
  CHECK(d.events == std::vector<Event>{{5, p, x2, y2}, {4, q, x2, y2}});
  d.events.clear();
  go({700, 700});
  CHECK(tb::test::wait_until([&] { return !d.events.empty(); }, 3000));
  CHECK(d.events == std::vector<Event>{{5, q, 0, 0}});
  CHECK(d.in().hover_row == -1);

  // A click below the last row clears the selection and raises nothing.
  d.list.SelectItem(q);
  REQUIRE(d.in().selected_row == 2);
  go(d.at(3, 100, 30 + 24));
  press({click[0], click[1]});
  CHECK(d.events.empty());
  CHECK(d.in().selected_row == -1);

  // Service icons (at 50 and 68, y 35..51): a hit raises its number, a miss ItemClicked
  // with row-relative coordinates; an item without icons gets client coordinates.
  go(d.at(1, 70, 40));
  press({click[0], click[1]});
  CHECK(d.events == std::vector<Event>{{9, p, 2, 0}});
  go(d.at(1, 67, 40));
  press({click[0], click[1]});
  CHECK(d.events == std::vector<Event>{{1, p, 67, 40}});
  go(d.at(2, 30, 20));
  auto [xq, yq] = client(2, 30, 20);
  press({click[0], click[1]});
  CHECK(d.events == std::vector<Event>{{1, q, xq, yq}});
  press({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
  CHECK(d.events == std::vector<Event>{{3, q, xq, yq}});
  go(d.at(0, 60, 10));
  auto [xg, yg] = client(0, 60, 10);
  press({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
  CHECK(d.events == std::vector<Event>{{8, g, xg, yg}});

  // Clicking the collapsed group of three inserts their rows and repaints its arrow.
  go(d.at(3, 60, 10));
  auto [xh, yh] = client(3, 60, 10);
  press({click[0], click[1]});
  CHECK(d.events == std::vector<Event>{{6, h, xh, yh}});
  CHECK(SendMessageW(d.hwnd(), LB_GETCOUNT, 0, 0) == 7);
  CHECK(d.px(3, 5 + 1, 6 + 3) == tb::theme::kAccentDark);
  // A double click toggles twice: clicked, double-clicked, clicked.
  pump(GetDoubleClickTime() + 50);  // not taken with the click before
  press({click[0], click[1], click[0], click[1]});
  CHECK(d.events == std::vector<Event>{{6, h, xh, yh}, {7, h, xh, yh}, {6, h, xh, yh}});
  CHECK(SendMessageW(d.hwnd(), LB_GETCOUNT, 0, 0) == 7);
  go(d.at(2, 30, 20));
  press({click[0], click[1], click[0], click[1]});
  CHECK(d.events == std::vector<Event>{{1, q, xq, yq}, {2, q, xq, yq}, {1, q, xq, yq}});

  // Absent handlers are skipped.
  EventHandlers only;
  only.group_clicked = [&](int a, int b, int c) { d.events.push_back({6, a, b, c}); };
  d.list.SetEventHandlers(only);
  press({click[0], click[1], MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
  go(d.at(3, 60, 10));
  press({click[0], click[1]});
  CHECK(d.events == std::vector<Event>{{6, h, xh, yh}});
  CHECK(SendMessageW(d.hwnd(), LB_GETCOUNT, 0, 0) == 4);
}

TEST_CASE("grouplist drawing: hovering repaints at most the two rows involved") {
  ListDriver d(0, false, 200, 400);
  REQUIRE(d.ok);
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0x0000FF)) == 1);
  int g = d.group("组", true);
  for (int i = 0; i < 40; ++i) REQUIRE(d.item(g, "项", true, 0x3070C0, {1}));
  pump(100);
  std::uint64_t n = rows_painted();
  auto painted = [&] {
    std::uint64_t now = rows_painted(), k = now - n;
    n = now;
    return static_cast<int>(k);
  };
  d.send(WM_MOUSEMOVE, 30, d.row_rect(1).top + 10);
  CHECK(painted() == 1);  // from nowhere: only the row entered
  for (int row = 2; row < 7; ++row) {
    d.send(WM_MOUSEMOVE, 30, d.row_rect(row).top + 10);
    CHECK(painted() == 2);
    d.send(WM_MOUSEMOVE, 32, d.row_rect(row).top + 12);
    CHECK(painted() == 0);
  }
  d.send(WM_MOUSEMOVE, 55, d.row_rect(6).top + 40);  // onto the icon
  CHECK(painted() == 1);
  d.send(WM_MOUSEMOVE, 56, d.row_rect(6).top + 41);
  CHECK(painted() == 0);
  d.send(WM_MOUSELEAVE, 0, 0);
  CHECK(painted() == 1);
  CHECK(SendMessageW(d.hwnd(), kRepaintRow, 3, 0) == 1);
  CHECK(painted() == 1);
}

TEST_CASE("grouplist drawing: avatars flash on real ticks, two lists apart") {
  ListDriver d(0, false, 200, 300);
  REQUIRE(d.ok);
  GroupList second(win32_list_host());
  REQUIRE(second.Create(reinterpret_cast<std::intptr_t>(d.parent), 0, 0, false));
  HWND other = reinterpret_cast<HWND>(second.list_window());
  MoveWindow(d.hwnd(), 0, 0, 200, 150, TRUE);
  MoveWindow(other, 0, 150, 200, 150, TRUE);
  int g = d.group("组", true);
  int a = d.item(g, "闪", true);
  int g2 = second.AddGroup("组", true, 0);
  ItemRecord r;
  r.group = g2;
  r.online = true;
  r.avatar = bmp_file(32, 32, 0x3070C0);
  REQUIRE(second.AddItem(r, {}, false));
  int b = r.handle;
  pump(100);
  PaintLog log;
  auto phase = [&](GroupList& l, int h) {
    ElementRecord e;
    l.ReadElement(h, e);
    return e.flash_phase;
  };
  d.list.StartFlashing(a);
  second.StartFlashing(b);
  CHECK(d.in().flash_timer_running);
  REQUIRE(tb::test::wait_until([&] { return phase(d.list, a) == 1; }, 2000));
  // Phase 1: box and picture one pixel right and down.
  CHECK(d.px(1, 4, 5) == 0xFFFFFF);
  CHECK(d.px(1, 5, 6) == 0xE9E3D7);
  CHECK(d.px(1, 6, 7) == 0xFFFFFF);
  CHECK(close_to(d.px(1, 7, 8), kAvatar));
  REQUIRE(tb::test::wait_until([&] { return phase(d.list, a) == 0; }, 2000));
  CHECK(d.px(1, 4, 5) == 0xE9E3D7);
  CHECK(close_to(d.px(1, 6, 7), kAvatar));

  // Each list's timer flips only its own items: about one paint per 300 ms each.
  log.counts.clear();
  pump(1500);
  int pa = log.counts[{d.hwnd(), 1}], pb = log.counts[{other, 1}];
  CHECK(pa >= 2);
  CHECK(pa <= 7);
  CHECK(pb >= 2);
  CHECK(pb <= 7);

  // Stopped: the next tick puts it back at phase 0 and it is painted no more.
  d.list.StopFlashing(a);
  REQUIRE(tb::test::wait_until([&] { return d.in().flashing().empty(); }, 2000));
  CHECK(phase(d.list, a) == 0);
  CHECK(d.px(1, 4, 5) == 0xE9E3D7);
  log.counts.clear();
  pump(700);
  CHECK(log.counts[{d.hwnd(), 1}] == 0);
  CHECK(log.counts[{other, 1}] >= 1);
  second.StopFlashing(b);
}

TEST_CASE("grouplist drawing: the online blink lets other messages through") {
  ListDriver d(0, false, 200, 300);
  REQUIRE(d.ok);
  int g = d.group("组", true);
  int a = d.item(g, "灰", false);
  pump(100);
  PaintLog log;
  std::vector<COLORREF> seen;
  int posted_at = -1;
  log.on_paint = [&](HWND, int row) {
    if (row == 1) seen.push_back(d.px(1, 25, 25));
  };
  tb::hook_window(d.parent, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_APP + 7) posted_at = static_cast<int>(seen.size());
    return false;
  });
  PostMessageW(d.parent, WM_APP + 7, 0, 0);
  CHECK(d.list.SetOnline(a, 60));
  REQUIRE(seen.size() == 5);
  const COLORREF want[] = {kAvatar, kGrey, kAvatar, kGrey, kAvatar};
  for (int k = 0; k < 5; ++k) {
    CAPTURE(k);
    CHECK(close_to(seen[static_cast<std::size_t>(k)], want[k]));
  }
  CHECK(posted_at == 1);  // handled in the first pause
  seen.clear();
  CHECK_FALSE(d.list.SetOnline(a, 60));
  CHECK(seen.empty());
}

TEST_CASE("grouplist drawing: at 144 DPI sizes scale in drawing and hit tests") {
  ListDriver d(1, true, 300, 400);
  REQUIRE(d.ok);
  set_dpi(d.box(), 144);
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0x0000FF)) == 1);
  int g = d.group("组", true);
  int a = d.item(g, "甲", true, 0x3070C0, {1});
  d.item(g, "乙", true);
  pump(100);
  CHECK(d.height(0) == 36);
  CHECK(d.height(1) == 45);
  CHECK(d.in().window().height(1) == 30);  // the model keeps its numbers
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(d.hwnd(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  CHECK(lf.lfHeight == 18);
  // Medium row 45: box 36 at (6, 4), picture 30 x 30.
  CHECK(d.px(1, 6, 4) == 0xE9E3D7);
  CHECK(close_to(d.px(1, 9, 7), kAvatar));
  CHECK(close_to(d.px(1, 38, 36), kAvatar));
  d.click(100, d.row_rect(1).top + 10);
  CHECK(d.height(1) == 81);
  pump(100);
  CHECK(d.px(1, 6, 7) == 0xE9E3D7);  // large: box 66 at (6, 7)
  // The icon sits at 75..99 x 52..76 of the 81-pixel row.
  d.events.clear();
  RECT r = d.row_rect(1);
  d.click(r.left + 98, r.top + 64);
  CHECK(d.events == std::vector<Event>{{9, a, 1, 0}});
  d.click(r.left + 100, r.top + 64);
  CHECK(d.events.back() == Event{1, a, 100, 64});
  d.send(WM_MOUSEMOVE, r.left + 80, r.top + 60);
  CHECK(d.in().hovered_icon == 1);
  CHECK(d.px(1, 90, 64) == RGB(0, 0, 255));
}

// The screen DPI comes from the prefix at process start: the check runs in a child process
// started while the prefix says 144.
TEST_CASE("grouplist drawing: a list made at a screen DPI of 144") {
  if (GetEnvironmentVariableW(L"TB_GROUPLIST_DPI_CHILD", nullptr, 0)) {
    ListDriver d(1, true, 300, 400);
    REQUIRE(d.ok);
    REQUIRE(d.box().dpi() == 144);
    int g = d.group("组", true);
    REQUIRE(d.item(g, "甲", true));
    pump(100);
    CHECK(d.height(0) == 36);
    CHECK(d.height(1) == 45);
    CHECK(d.px(1, 6, 4) == 0xE9E3D7);
    return;
  }
  HKEY key = nullptr;
  REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) == ERROR_SUCCESS);
  DWORD old = 0, size = sizeof old, dpi = 144;
  bool had = RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS;
  RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring cmd = L"\"" + std::wstring(exe) + L"\" -tc=\"*screen DPI of 144\"";
  SetEnvironmentVariableW(L"TB_GROUPLIST_DPI_CHILD", L"1");
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  bool started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableW(L"TB_GROUPLIST_DPI_CHILD", nullptr);
  DWORD code = 1;
  if (started) {
    WaitForSingleObject(pi.hProcess, 60000);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  if (had) RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old), sizeof old);
  else RegDeleteValueW(key, L"LogPixels");
  RegCloseKey(key);
  REQUIRE(started);
  CHECK(code == 0);
}

TEST_CASE("grouplist drawing: the parent's size and background, no GDI objects left") {
  ListDriver d(1, false, 200, 300, 40, 40, 0xD8E0E8);
  REQUIRE(d.ok);
  int g = d.group("组", true);
  for (int i = 0; i < 5; ++i) REQUIRE(d.item(g, "项", i % 2 == 0, 0x3070C0, {}, "签名"));
  pump(100);
  CHECK(d.px(0, 100, d.row_rect(5).bottom + 20) == 0xD8E0E8);  // below the last row
  MoveWindow(d.parent, 40, 40, 260, 330, TRUE);
  RECT lr;
  GetWindowRect(d.hwnd(), &lr);
  CHECK(lr.right - lr.left == 260);
  CHECK(lr.bottom - lr.top == 330);
  // Every painting frees what it made: fonts, brushes, pens, bitmaps, DCs.
  int before = free_gdi_slots();
  REQUIRE(before < 100000);
  for (int k = 0; k < 50; ++k)
    for (int row = 0; row < 6; ++row) paint_row(d.hwnd(), row);
  d.send(WM_MOUSEMOVE, 30, d.row_rect(2).top + 5);
  d.send(WM_MOUSEMOVE, 30, d.row_rect(3).top + 5);
  d.send(WM_MOUSELEAVE, 0, 0);
  RedrawWindow(d.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  CHECK(free_gdi_slots() >= before - 8);  // leaking one object a row would take 300
}

TEST_CASE("grouplist drawing: screenshots of the three views") {
  ListDriver d(0, true, 240, 420, 40, 40);
  REQUIRE(d.ok);
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0xE04040, 0xFF00FF, 4)) == 1);
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0x30A030)) == 2);
  REQUIRE(d.list.AddServiceIcon(bmp_file(16, 16, 0x3050E0)) == 3);
  int g = d.group("我的工具", true, 0x000000);
  int a = d.item(g, "按键精灵脚本", true, 0x3070C0, {1, 2, 3}, "写脚本用的工具", 0x0000C0);
  d.item(g, "离线的项目", false, 0xC07030, {}, "离线签名", 0x0000FF);
  int f = d.item(g, "闪烁的项目", true, 0x40A040, {}, "头像在闪");
  d.item(g, "普通项目", true, 0xA0A0A0, {}, "");
  int c = d.group("收起的分组", false, 0x800000);
  d.item(c, "看不见", true);
  d.group("另一个分组", true, 0x008000);
  REQUIRE((a && f));
  auto shoot = [&](const char* name) {
    pump(150);
    RECT r;
    GetWindowRect(d.parent, &r);
    CHECK(tb::test::save_screen_bmp(r, tb::test::host_path((std::string(TB_ARTIFACTS "/") + name).c_str())));
  };
  d.list.StartFlashing(f);
  REQUIRE(tb::test::wait_until([&] { ElementRecord e; d.list.ReadElement(f, e); return e.flash_phase == 1; }, 2000));
  d.list.StopFlashing(f);  // the next tick ends it; the shot is taken before
  RECT r1 = d.row_rect(1);
  d.send(WM_MOUSEMOVE, r1.left + 75, r1.top + 42);  // on the second icon
  shoot("grouplist_large.bmp");
  d.list.SetMediumView(true);
  d.list.SelectItem(a);
  d.send(WM_MOUSEMOVE, 100, d.row_rect(3).top + 10);
  shoot("grouplist_medium.bmp");
  d.list.SetSmallView(true);
  shoot("grouplist_small.bmp");
  d.list.SetMediumView(true);
  MoveWindow(d.parent, 40, 40, 360, 630, TRUE);
  set_dpi(d.box(), 144);
  d.send(WM_MOUSEMOVE, 100, d.row_rect(3).top + 10);
  shoot("grouplist_medium_144dpi.bmp");
}
