#include <doctest/doctest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>

#include "app/shell.h"
#include "base/encoding.h"
#include "radar/forms.h"
#include "radar/radar.h"
#include "radar/radar_window.h"
#include "radar/remote_win.h"
#include "resources/radar_window.h"
#include "tests/support/window_click.h"
#include "tests/win/radar/radar_driver.h"
#include "tests/win/util/ui_driver.h"

using namespace radar_test;
using tb::radar::RadarWindow;

namespace {

RadarWindow* open_radar() {
  static bool framework = (tb::init_framework(GetModuleHandleW(nullptr)), true);
  (void)framework;
  tb::radar::open();
  pump(100);
  return tb::radar::current();
}

std::wstring title_of(HWND w) {
  wchar_t buf[512] = {};
  GetWindowTextW(w, buf, 512);
  return buf;
}
// Top-level windows of this process captioned 窗口工具.
BOOL CALLBACK count_radar(HWND w, LPARAM lp) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == GetCurrentProcessId() && title_of(w) == L"\x7A97\x53E3\x5DE5\x5177") ++*reinterpret_cast<int*>(lp);
  return TRUE;
}
int radar_windows() {
  int n = 0;
  EnumWindows(&count_radar, reinterpret_cast<LPARAM>(&n));
  return n;
}

void click_picture(HWND b) {  // press and release inside a picture button
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  pump(20);
}
// Waits until the radar's action has ended and the picked window has taken it.
void settle(RadarWindow* r) {
  CHECK(wait_until([r] { return !r->acting(); }));
  HWND h = reinterpret_cast<HWND>(static_cast<std::intptr_t>(tb::radar::box_handle(r->text("编辑框2"))));
  DWORD_PTR answer = 0;
  if (IsWindow(h)) SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  pump(50);
}
void press(RadarWindow* r, const char* name) { SendMessageW(r->control(name), BM_CLICK, 0, 0); }
void click(RadarWindow* r, const char* name) {
  press(r, name);
  settle(r);
}
// Puts the opacity bar at `from` and sends it one scroll request.
void scroll_bar(RadarWindow* r, int from, WPARAM request, bool wait = true) {
  HWND bar = r->control("横向滚动条1");
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, from, 0};
  SetScrollInfo(bar, SB_CTL, &si, FALSE);
  SendMessageW(GetParent(bar), WM_HSCROLL, request, reinterpret_cast<LPARAM>(bar));
  if (wait) settle(r);
}
BYTE alpha_of(HWND w) {
  BYTE a = 0;
  DWORD flags = 0;
  return GetLayeredWindowAttributes(w, nullptr, &a, &flags) && (flags & LWA_ALPHA) ? a : 0;
}

std::string num(std::int64_t v) { return std::to_string(v); }
std::string hwnd_text(HWND w) { return num(reinterpret_cast<std::intptr_t>(w)); }
std::string rect_text(const RECT& r) {
  return num(r.left) + "," + num(r.top) + "," + num(r.right) + "," + num(r.bottom);
}
RECT outer(RECT r, int by) {
  InflateRect(&r, by, by);
  return r;
}
long differing(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  long n = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n;
}
long count_of(const std::vector<std::uint32_t>& px, std::uint32_t colour) {
  return static_cast<long>(std::count(px.begin(), px.end(), colour));
}

void drag_to(POINT p) {
  move_to(p);
  pump(80);
}

// A window of this process with a child, painted flat: Wine shows nothing drawn on another
// process's child window, so the outline on child controls is watched here.
struct LocalWindow {
  HWND top = nullptr, child = nullptr;
  LocalWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"TbRadarLocal";
    RegisterClassW(&wc);
    top = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 920, 470, 300, 150,
                          nullptr, nullptr, wc.hInstance, nullptr);
    child = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 30, 30, 150, 50, top, nullptr,
                            wc.hInstance, nullptr);
    pump(200);
  }
  ~LocalWindow() { DestroyWindow(top); }
};

// Puts the target window back as its process made it.
void reset_target(const Target& t) {
  SetWindowTextW(t.top, radar_target::kTitle);
  const RECT& k = radar_target::kTop;
  SetWindowPos(t.top, HWND_NOTOPMOST, k.left, k.top, k.right - k.left, k.bottom - k.top, SWP_NOACTIVATE);
  ShowWindow(t.top, SW_SHOWNOACTIVATE);
  SetWindowLongPtrW(t.top, GWL_EXSTYLE, radar_target::kExStyle);
  pump(200);
}

}  // namespace

TEST_CASE("the radar window: its table, one instance, minimise, close and reopen") {
  RadarWindow* r = open_radar();
  REQUIRE(r);
  CHECK(r->unknown_names().empty());  // every name the radar binds is in its table
  HWND h = r->hwnd();
  RECT wr = window_rect(h);
  CHECK(wr.right - wr.left == r->scale(492));
  CHECK(wr.bottom - wr.top == r->scale(296));
  CHECK(title_of(h) == L"\x7A97\x53E3\x5DE5\x5177");  // 窗口工具
  CHECK(GetWindow(h, GW_OWNER) == nullptr);
  for (const tb::ControlDef& d : tb::res::kRadarWindow.controls) {
    if (d.kind == tb::Kind::Timer) continue;
    CAPTURE(tb::to_wide(d.name));
    HWND c = r->control(d.name);
    HWND parent = d.parent.empty() ? h : r->control(d.parent);
    REQUIRE(c);
    CHECK(GetParent(c) == parent);
    RECT cr = window_rect(c);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&cr), 2);
    RECT want{r->scale(d.x), r->scale(d.y), r->scale(d.x + d.w), r->scale(d.y + d.h)};
    CHECK(EqualRect(&cr, &want));
    if (d.kind != tb::Kind::HScrollBar) CHECK(r->text(d.name) == std::string(d.text));
  }
  RECT panel = window_rect(r->control("画板1"));
  MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&panel), 2);
  CHECK(panel.left == r->scale(20));  // 12,9 inside 外形框1 at 8,30
  CHECK(panel.top == r->scale(39));
  SCROLLINFO si{sizeof si, SIF_ALL};
  GetScrollInfo(r->control("横向滚动条1"), SB_CTL, &si);
  CHECK(si.nMin == 1);
  CHECK(si.nMax == 100);
  CHECK(si.nPos == 1);

  CHECK(tb::radar::open());  // a second open brings the same window forward
  CHECK(tb::radar::current() == r);
  click_picture(r->control("图形按钮3"));
  CHECK(IsIconic(h));
  CHECK(tb::radar::open());
  pump(50);
  CHECK_FALSE(IsIconic(h));
  CHECK(radar_windows() == 1);

  r->set_text("编辑框2", "123");
  r->set_text("透明标签1", std::string(tb::radar::kTips[1]));
  click_picture(r->control("图形按钮5"));
  CHECK_FALSE(IsWindow(h));
  CHECK(tb::radar::current() == nullptr);
  r = open_radar();  // a fresh start: empty boxes, first tip
  REQUIRE(r);
  CHECK(r->text("编辑框2").empty());
  CHECK(r->text("透明标签1") == "可以更改窗口高度、宽度、标题");
}

TEST_CASE("a right-click on the background copies every box as a line") {
  RadarWindow* r = open_radar();
  REQUIRE(r);
  const char* boxes[] = {"编辑框2", "编辑框3", "编辑框1", "编辑框坐标", "编辑框6", "编辑框10",
                         "编辑框8", "编辑框9", "编辑框4", "编辑框7", "编辑框5"};
  const char* labels[] = {"句柄", "类名", "标题", "坐标", "左边", "顶边", "宽度", "高度", "进程ID", "进程名", "进程路径"};
  std::string expected;
  for (int i = 0; i < 11; ++i) {
    r->set_text(boxes[i], "值" + std::to_string(i));
    expected += std::string(labels[i]) + "：值" + std::to_string(i) + "\r\n";
  }
  for (HWND where : {r->hwnd(), r->control("外形框1")}) {  // the window's background and the frame's
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    tb::test::choose_next_menu_item(0);
    SendMessageW(where, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
    CHECK(tb::test::clipboard_unicode_text() == expected);
  }
  r->close();
}

TEST_CASE("图形按钮1 of the main window opens the radar once") {
  if (RadarWindow* old = tb::radar::current()) old->close();
  REQUIRE(tb::shell::open_main_window());
  tb::shell::MainWindow* main = tb::shell::main_window();
  tb::test::click_row(*main, "图形按钮1");
  pump(20);
  RadarWindow* r = tb::radar::current();
  REQUIRE(r);
  tb::test::click_row(*main, "图形按钮1");
  pump(20);
  CHECK(tb::radar::current() == r);
  CHECK(radar_windows() == 1);
  DestroyWindow(main->hwnd());
  pump(20);
  CHECK(tb::radar::current() == r);  // no owner: it outlives the shell window
}

TEST_CASE("the tip rotates every 5 seconds through its three texts") {
  if (RadarWindow* old = tb::radar::current()) old->close();
  RadarWindow* r = open_radar();
  REQUIRE(r);
  const std::string first = r->text("透明标签1");
  pump(4000);
  CHECK(r->text("透明标签1") == first);
  CHECK(wait_until([&] { return r->text("透明标签1") != first; }, 2500));
  CHECK(r->text("透明标签1") == "取自窗口信息后，再点置顶，可以让本窗口置顶");
  const auto& table = tb::res::kRadarWindow.controls;
  auto timer = std::find_if(table.begin(), table.end(), [](const auto& d) { return d.name == "时钟1"; });
  const WPARAM id = tb::kFirstControlId + (timer - table.begin());
  SendMessageW(r->hwnd(), WM_TIMER, id, 0);
  CHECK(r->text("透明标签1") == "不要轻易设置隐藏窗口，小心找不回来呦");
  SendMessageW(r->hwnd(), WM_TIMER, id, 0);
  CHECK(r->text("透明标签1") == first);
}

TEST_CASE("dragging the target icon onto windows of another process") {
  Target& t = Target::get();
  REQUIRE(t.ok());
  reset_target(t);
  RadarWindow* r = open_radar();
  REQUIRE(r);
  HWND panel = r->control("画板1");
  const RECT panel_rect = window_rect(panel), top_rect = window_rect(t.top), child_rect = window_rect(t.child);
  LocalWindow local;
  const RECT local_child = window_rect(local.child);
  const auto screen_before = grab(outer(top_rect, 8)), local_before = grab(outer(window_rect(local.top), 8));

  move_to({panel_rect.left + 5, panel_rect.top + 5});  // no press: nothing happens
  pump(50);
  drag_to(centre(panel_rect));
  CHECK(r->text("编辑框2").empty());
  CHECK(count_of(grab(panel_rect), 0) > 60);  // the icon at rest

  button(true);
  REQUIRE(wait_until([r] { return r->dragging(); }));
  // The icon leaves the panel and becomes the pointer: monochrome 32 x 32, hot spot 16,15.
  CHECK(GetCursor() == r->target_cursor());
  ICONINFO ii{};
  REQUIRE(GetIconInfo(GetCursor(), &ii));
  BITMAP mask{};
  GetObjectW(ii.hbmMask, sizeof mask, &mask);
  CHECK(ii.xHotspot == 16);
  CHECK(ii.yHotspot == 15);
  CHECK(ii.hbmColor == nullptr);
  CHECK(mask.bmWidth == 32);
  CHECK(mask.bmHeight == 64);
  DeleteObject(ii.hbmMask);
  RECT inner = outer(panel_rect, -1);
  auto inner_px = grab(inner);
  CHECK(count_of(inner_px, 0xECECEC) == static_cast<long>(inner_px.size()));

  drag_to({panel_rect.left + 10, panel_rect.top + 10});
  CHECK(r->text("编辑框2") == hwnd_text(panel));
  CHECK(r->text("编辑框3") == "TbContainer");
  CHECK(r->text("编辑框4") == num(GetCurrentProcessId()));
  const auto panel_during = grab(panel_rect);

  // A child control: its own handle and class, the PID and path, no process name.
  drag_to(centre(child_rect));
  CHECK(r->text("编辑框2") == hwnd_text(t.child));
  CHECK(r->text("编辑框3") == "Button");
  CHECK(r->text("编辑框1") == "目标按钮");
  CHECK(r->text("编辑框4") == num(t.pid));
  CHECK(lstrcmpiW(tb::to_wide(r->text("编辑框5")).c_str(), t.path.c_str()) == 0);
  CHECK(r->text("编辑框7").empty());
  CHECK(r->text("编辑框坐标") == rect_text(child_rect));
  CHECK(differing(grab(panel_rect), panel_during) == 0);  // the window under the press got no frame

  drag_to(centre(local_child));
  CHECK(r->text("编辑框2") == hwnd_text(local.child));
  const auto local_child_px = grab(local_child);
  CHECK(count_of(local_child_px, 0x808080) < static_cast<long>(local_child_px.size()));  // outlined

  // The top-level window: every box, "?" for the character GBK lacks, the process name.
  drag_to({top_rect.right - 20, top_rect.bottom - 20});
  CHECK(r->text("编辑框2") == hwnd_text(t.top));
  CHECK(r->text("编辑框3") == "TbRadarTarget");
  CHECK(r->text("编辑框1") == "雷达目标 ?");
  CHECK(r->text("编辑框4") == num(t.pid));
  CHECK(lstrcmpiW(tb::to_wide(r->text("编辑框5")).c_str(), t.path.c_str()) == 0);
  CHECK(r->text("编辑框7") == "radar_target.exe");
  CHECK(r->text("编辑框6") == num(top_rect.left));
  CHECK(r->text("编辑框10") == num(top_rect.top));
  CHECK(r->text("编辑框8") == num(top_rect.right - top_rect.left));
  CHECK(r->text("编辑框9") == num(top_rect.bottom - top_rect.top));
  CHECK(r->text("编辑框坐标") == rect_text(top_rect));
  CHECK(differing(grab(outer(window_rect(local.top), 8)), local_before) == 0);  // the child's outline went
  CHECK(differing(grab(outer(top_rect, 8)), screen_before) > 0);                // this one is drawn

  // Class and title are cut at 49 and 255 bytes, on character boundaries.
  drag_to(centre(window_rect(t.second)));
  CHECK(r->text("编辑框3") == tb::to_gbk(std::wstring(radar_target::kLongClass).substr(0, 49)));
  CHECK(tb::to_wide(r->text("编辑框1")) == std::wstring(127, L'\x6807'));

  drag_to({top_rect.left + 200, top_rect.top + 150});
  button(false);
  REQUIRE(wait_until([r] { return !r->dragging(); }));
  pump(50);
  CHECK(GetCursor() == LoadCursorW(nullptr, IDC_ARROW));
  CHECK(count_of(grab(panel_rect), 0) > 60);  // the icon is back
  CHECK(differing(grab(outer(top_rect, 8)), screen_before) == 0);  // no outline left
  CHECK(differing(grab(outer(window_rect(local.top), 8)), local_before) == 0);
  move_to(centre(child_rect));  // moves after the release change nothing
  pump(80);
  CHECK(r->text("编辑框2") == hwnd_text(t.top));
  CHECK(r->text("编辑框7") == "radar_target.exe");

  click(r, "按钮2");  // right after a pick a top-level window stays where it is
  RECT after = window_rect(t.top);
  CHECK(EqualRect(&after, &top_rect));

  // A pick that loses the mouse capture ends as a release would.
  drag_to(centre(panel_rect));
  button(true);
  REQUIRE(wait_until([r] { return r->dragging(); }));
  drag_to({top_rect.right - 20, top_rect.bottom - 20});
  CHECK(differing(grab(outer(top_rect, 8)), screen_before) > 0);
  SetCapture(local.top);
  pump(50);
  CHECK_FALSE(r->dragging());
  CHECK(differing(grab(outer(top_rect, 8)), screen_before) == 0);
  ReleaseCapture();
  button(false);
  pump(50);
}

TEST_CASE("actions on a window that stopped answering: a message box, no change, and the UI keeps running") {
  if (RadarWindow* old = tb::radar::current()) old->close();
  Target hung;
  REQUIRE(hung.ok());
  REQUIRE(hung.stop_answering(30000));  // long enough for every case, bounded for a UI that freezes
  REQUIRE(tb::shell::open_main_window());
  HWND main = tb::shell::main_window()->hwnd();
  const int main_height = window_rect(main).bottom - window_rect(main).top;
  RadarWindow* r = open_radar();
  REQUIRE(r);
  r->set_text("编辑框2", hwnd_text(hung.top));
  r->set_text("编辑框1", "不该出现");
  r->set_text("编辑框8", "100");
  std::set<std::string> tips;

  const struct {
    const char* name;
    std::function<void()> act;
  } actions[] = {
      {"更改标题", [r] { press(r, "按钮1"); }},
      {"更改坐标", [r] { press(r, "按钮2"); }},
      {"置顶", [r] { press(r, "单选框1"); }},
      {"取消置顶", [r] { press(r, "单选框2"); }},
      {"调节透明", [r] { scroll_bar(r, 49, SB_LINERIGHT, false); }},
  };
  for (const auto& a : actions) {
    CAPTURE(tb::to_wide(a.name));
    std::mutex m;
    std::wstring said;
    std::atomic<bool> seen{false};
    test::DialogDriver box(L"Tarvo", [&](HWND d) {
      for (HWND c : test::children_of(d)) {
        std::lock_guard<std::mutex> lock(m);
        if (test::class_of(c) == L"Static" && !test::text_of(c).empty()) said = test::text_of(c);
      }
      seen = true;
      test::press_button(d, IDOK);
    });
    // The main window is pushed to the top edge while the action waits: it still docks.
    SetCursorPos(640, 900);
    SetWindowPos(main, nullptr, 300, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    a.act();
    CHECK_FALSE(seen);  // the press returned before the answer was due
    CHECK(wait_until([&] {
      tips.insert(r->text("透明标签1"));
      return seen && test::own_dialogs().empty() && !r->acting() && window_rect(main).top == 3 - main_height;
    }, 8000));
    CHECK(box.found());
    CHECK_FALSE(box.stuck());
    std::lock_guard<std::mutex> lock(m);
    CHECK(tb::to_gbk(said) == tb::radar::kNoAnswerText);
  }
  // The tip timer kept ticking through the hang.
  CHECK(wait_until([&] {
    tips.insert(r->text("透明标签1"));
    return tips.size() >= 2;
  }, 6000));
  CHECK(title_of(hung.top) == radar_target::kTitle);  // nothing happened to the hung window
  RECT now = window_rect(hung.top);
  CHECK(EqualRect(&now, &radar_target::kTop));
  CHECK(GetWindowLongPtrW(hung.top, GWL_EXSTYLE) == radar_target::kExStyle);

  // A window that answers still gets every action.
  Target& t = Target::get();
  REQUIRE(t.ok());
  reset_target(t);
  r->set_text("编辑框2", hwnd_text(t.top));
  r->set_text("编辑框1", "又能改了");
  r->set_text("编辑框6", "700");
  r->set_text("编辑框10", "80");
  r->set_text("编辑框8", "250");
  r->set_text("编辑框9", "150");
  click(r, "按钮1");
  CHECK(title_of(t.top) == L"\x53C8\x80FD\x6539\x4E86");
  click(r, "按钮2");
  now = window_rect(t.top);
  RECT want{700, 80, 950, 230};
  CHECK(EqualRect(&now, &want));
  click(r, "单选框1");
  CHECK((GetWindowLongPtrW(t.top, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
  click(r, "单选框2");
  CHECK((GetWindowLongPtrW(t.top, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);
  scroll_bar(r, 49, SB_LINERIGHT);
  CHECK(alpha_of(t.top) == 127);
  DestroyWindow(main);
  reset_target(t);
}

TEST_CASE("the actions act on the window whose handle is in the box") {
  Target& t = Target::get();
  REQUIRE(t.ok());
  reset_target(t);
  RadarWindow* r = open_radar();
  REQUIRE(r);
  const RECT home = window_rect(t.top);
  r->set_text("编辑框2", hwnd_text(t.top) + ".7");  // typed by hand: read through floating point

  SUBCASE("更改坐标 moves and resizes; it needs a width, other empty boxes count as 0") {
    r->set_text("编辑框6", "700.9");
    r->set_text("编辑框10", "80");
    r->set_text("编辑框8", "250");
    r->set_text("编辑框9", "150");
    click(r, "按钮2");
    RECT moved = window_rect(t.top), want{700, 80, 950, 230};
    CHECK(EqualRect(&moved, &want));
    r->set_text("编辑框8", "");
    r->set_text("编辑框6", "10");
    click(r, "按钮2");
    RECT same = window_rect(t.top);
    CHECK(EqualRect(&same, &want));
    r->set_text("编辑框6", "");
    r->set_text("编辑框10", "abc");
    r->set_text("编辑框8", "260");
    click(r, "按钮2");
    CHECK(window_rect(t.top).left == 0);
    CHECK(window_rect(t.top).top == 0);
    CHECK(window_rect(t.top).right == 260);
  }

  SUBCASE("更改标题 sets the title") {
    r->set_text("编辑框1", "新标题 雷达");
    click(r, "按钮1");
    CHECK(title_of(t.top) == L"\x65B0\x6807\x9898 \x96F7\x8FBE");
  }

  SUBCASE("an empty handle box does nothing") {
    r->set_text("编辑框2", "");
    r->set_text("编辑框1", "不该出现");
    r->set_text("编辑框8", "100");
    click(r, "按钮1");
    click(r, "按钮2");
    click(r, "单选框3");
    click(r, "单选框1");
    scroll_bar(r, 10, SB_LINERIGHT);
    pump(100);
    CHECK(title_of(t.top) == radar_target::kTitle);
    RECT now = window_rect(t.top);
    CHECK(EqualRect(&now, &home));
    CHECK(IsWindowVisible(t.top));
    CHECK(GetWindowLongPtrW(t.top, GWL_EXSTYLE) == radar_target::kExStyle);
  }

  SUBCASE("置顶, 取消置顶, 隐藏 and 显示, one radio group") {
    click(r, "单选框1");
    CHECK((GetWindowLongPtrW(t.top, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    click(r, "单选框2");
    CHECK((GetWindowLongPtrW(t.top, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);
    CHECK_FALSE(r->checked("单选框1"));
    click(r, "单选框3");
    CHECK(wait_until([&] { return !IsWindowVisible(t.top); }));
    click(r, "单选框4");
    CHECK(wait_until([&] { return IsWindowVisible(t.top) != FALSE; }));
    CHECK(r->checked("单选框4"));
    CHECK_FALSE(r->checked("单选框3"));
  }

  SUBCASE("opacity keeps the other extended styles; positions up to 10 change nothing") {
    scroll_bar(r, 1, SB_LINERIGHT);  // 2
    CHECK(GetWindowLongPtrW(t.top, GWL_EXSTYLE) == radar_target::kExStyle);
    scroll_bar(r, 10, SB_LINERIGHT);  // 11
    CHECK(GetWindowLongPtrW(t.top, GWL_EXSTYLE) == (radar_target::kExStyle | WS_EX_LAYERED));
    CHECK(alpha_of(t.top) == 28);
    scroll_bar(r, 11, SB_LINELEFT);  // back to 10: the last opacity stays
    CHECK(alpha_of(t.top) == 28);
    scroll_bar(r, 50, SB_RIGHT);  // the far end is reachable
    CHECK(r->scroll_pos("横向滚动条1") == 100);
    CHECK(alpha_of(t.top) == 255);
  }

  SUBCASE("打开目录 starts the Explorer on the program file") {
    auto explorers = [] {
      std::vector<DWORD> ids;
      HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
      PROCESSENTRY32W pe{};
      pe.dwSize = sizeof pe;
      for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe))
        if (lstrcmpiW(pe.szExeFile, L"explorer.exe") == 0) ids.push_back(pe.th32ProcessID);
      CloseHandle(snap);
      return ids;
    };
    const auto before = explorers();
    r->set_text("编辑框5", tb::to_gbk(t.path));
    click(r, "按钮4");
    DWORD started = 0;
    wait_until([&] {
      for (DWORD id : explorers())
        if (std::find(before.begin(), before.end(), id) == before.end()) started = id;
      return started != 0;
    });
    CHECK(started != 0);
    if (HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, started)) {
      TerminateProcess(p, 0);
      CloseHandle(p);
    }
  }

  reset_target(t);
}

TEST_CASE("the process-name cache of a drag gives the names a fresh lookup gives") {
  Target& t = Target::get();
  REQUIRE(t.ok());
  tb::radar::ProcessNames cached(true), fresh(false);
  CHECK(cached.name_of(t.pid) == "radar_target.exe");
  CHECK(cached.name_of(GetCurrentProcessId()) == fresh.name_of(GetCurrentProcessId()));
  CHECK(cached.name_of(0xFFFFFFF0u).empty());
  // A process started after the cache was filled is still found.
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + t.path + L"\"";
  REQUIRE(CreateProcessW(t.path.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                         &si, &pi));
  CHECK(cached.name_of(pi.dwProcessId) == "radar_target.exe");
  TerminateProcess(pi.hProcess, 0);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}
