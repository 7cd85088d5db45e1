// The shell's windows built in this process: layout against the tables, tabs, docking on
// the real window, the notice and input windows.
#include <windows.h>

#include <commctrl.h>

#include <doctest/doctest.h>

#include <set>

#include "app/shell.h"
#include "base/encoding.h"
#include "resources/shell_windows.h"
#include "tests/support/win_test_util.h"
#include "tests/support/window_click.h"

using namespace tb;
using namespace tb::shell;
using tb::test::pump;
using tb::test::wait_until;

namespace {

bool g_common_controls_at_start = false;

MainWindow& main_win() {
  static bool started = [] {
    init_framework(GetModuleHandleW(nullptr));
    const bool opened = open_main_window();
    g_common_controls_at_start = GetModuleHandleW(L"comctl32.dll") != nullptr;
    return opened;
  }();
  REQUIRE(started);
  REQUIRE(main_window());
  return *main_window();
}

RECT rect_in_parent(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

dock::Box box_of(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void move_to(HWND h, int x, int y) { SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }

HWND find_top(const char* label_text) {
  struct Ctx {
    std::wstring want;
    HWND found = nullptr;
  } ctx{to_wide(label_text)};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND top, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        EnumChildWindows(
            top,
            [](HWND child, LPARAM lp2) -> BOOL {
              auto* c2 = reinterpret_cast<Ctx*>(lp2);
              wchar_t buf[256] = {};
              GetWindowTextW(child, buf, 256);
              if (c2->want == buf && IsWindowVisible(child)) c2->found = GetAncestor(child, GA_ROOT);
              return c2->found == nullptr;
            },
            lp);
        return c->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

}  // namespace

TEST_CASE("the main window matches its table") {
  MainWindow& w = main_win();
  HWND h = w.hwnd();
  RECT r;
  GetWindowRect(h, &r);
  CHECK(r.right - r.left == w.scale(267));
  CHECK(r.bottom - r.top == w.scale(597));
  CHECK(r.left == w.scale(50));
  CHECK(r.top == w.scale(50));
  CHECK(w.text("") == "Tarvo按键工具箱");
  CHECK((GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
  // Nothing of its first look needs the common controls: they load later, with the list.
  CHECK_FALSE(g_common_controls_at_start);

  int checked = 0;
  for (const ControlDef& d : res::kMainWindow.controls) {
    if (d.kind == Kind::Timer) continue;
    CAPTURE(std::string(d.name));
    // A row drawn by its container has no window: its place is its rectangle there.
    HWND in = nullptr, c = w.control(d.name);
    RECT cr{};
    REQUIRE(w.locate(d.name, in, cr));
    CHECK((c == nullptr) == ((d.style & style::kDrawn) != 0));
    if (c) cr = rect_in_parent(c);
    CHECK(cr.left == w.scale(d.x));
    CHECK(cr.top == w.scale(d.y));
    CHECK(cr.right - cr.left == w.scale(d.w));
    CHECK(cr.bottom - cr.top == w.scale(d.h));
    // The container: the named parent, or for tab pages a page of the tab control.
    HWND parent = c ? GetParent(c) : in;
    if (d.parent.empty()) CHECK(parent == h);
    else if (d.page >= 0) CHECK(GetParent(parent) == w.control(d.parent));
    else CHECK(parent == w.control(d.parent));
    if (d.kind == Kind::Edit || d.kind == Kind::Label || d.kind == Kind::TransparentLabel)
      CHECK(w.text(d.name) == std::string(d.text));
    ++checked;
  }
  CHECK(checked == 28);
}

TEST_CASE("start-up state: flat look, tab 0, placeholder kept, tooltips") {
  MainWindow& w = main_win();
  CHECK(w.unknown_names().empty());
  HWND edit = w.control("编辑框1");
  CHECK((GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0);
  // A thin border: the edge pixel is drawn, one pixel in is the box's white.
  UpdateWindow(edit);
  RECT er;
  GetWindowRect(edit, &er);
  HDC screen = GetDC(nullptr);
  const int mid = (er.top + er.bottom) / 2;
  CHECK(GetPixel(screen, er.left, mid) != RGB(255, 255, 255));
  CHECK(GetPixel(screen, er.left + 1, mid) == RGB(255, 255, 255));
  ReleaseDC(nullptr, screen);
  CHECK(w.selected_page("选择夹1") == 0);
  CHECK(w.text("编辑框1") == "按键论坛搜索……");
  CHECK(GetFocus() != edit);
  // The tool buttons' tooltips, each with its text, once the mouse is over the window.
  SendMessageW(w.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w.hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  HWND tip = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        if (test::class_of(h) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(lp) = h;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tip));
  REQUIRE(tip);
  std::set<std::string> tips;
  for (int i = 0, n = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0)); i < n; ++i) {
    wchar_t text[80] = {};
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.lpszText = text;
    if (SendMessageW(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ti))) tips.insert(to_gbk(text));
  }
  CHECK(tips == std::set<std::string>{"窗口雷达", "图色工具", "代码管理器", "记事本", "计算器", "画图"});
}

TEST_CASE("selecting a tab hides its picture button and shows its page") {
  MainWindow& w = main_win();
  const char* buttons[3] = {"图形按钮13", "图形按钮14", "图形按钮15"};
  for (int n : {1, 2, 0}) {
    test::click_row(w, buttons[n]);
    CHECK(w.selected_page("选择夹1") == n);
    for (int i = 0; i < 3; ++i) CHECK(w.visible(buttons[i]) == (i != n));
  }
  // Controls of the shown page are visible, those of hidden pages are not.
  CHECK(IsWindowVisible(w.control("外形框")));
  CHECK_FALSE(IsWindowVisible(w.control("标签2")));
}

TEST_CASE("search box loses its placeholder on focus, typed text is kept") {
  MainWindow& w = main_win();
  SetFocus(w.control("编辑框1"));
  CHECK(w.text("编辑框1") == "");
  w.set_text("编辑框1", "findpic");
  SetFocus(w.control("外形框"));
  SetFocus(w.control("编辑框1"));
  CHECK(w.text("编辑框1") == "findpic");
  w.set_text("编辑框1", "按键论坛搜索……");
}

namespace {
std::wstring g_box_text, g_box_title;
void CALLBACK close_box(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowW(L"#32770", nullptr);
  if (!box) return;
  KillTimer(nullptr, id);
  wchar_t t[128] = {};
  GetWindowTextW(box, t, 128);
  g_box_title = t;
  GetDlgItemTextW(box, 0xFFFF, t, 128);
  g_box_text = t;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST_CASE("Enter in an untouched or empty search box asks for a text") {
  MainWindow& w = main_win();
  for (const char* content : {"按键论坛搜索……", ""}) {
    CAPTURE(std::string(content));
    w.set_text("编辑框1", content);
    g_box_text.clear();
    SetTimer(nullptr, 0, 50, close_box);
    SendMessageW(w.control("编辑框1"), WM_KEYDOWN, VK_RETURN, 0);
    CHECK(g_box_text == to_wide("请输入要搜索的内容！"));
    CHECK(g_box_title == to_wide("信息："));
    CHECK(w.text("编辑框1") == content);
  }
  w.set_text("编辑框1", "按键论坛搜索……");
}

TEST_CASE("docking on the real window") {
  MainWindow& w = main_win();
  HWND h = w.hwnd();
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  dock::Box b = box_of(h);

  SUBCASE("parked at the top, back when the pointer enters the strip") {
    SetCursorPos(sw / 2, 700);
    move_to(h, 300, 0);
    w.idle_check();
    CHECK(box_of(h).top == 3 - b.height);
    SetCursorPos(320, 1);
    w.idle_check();
    CHECK(box_of(h).top == 0);
  }
  SUBCASE("the timer tucks away, the idle check reveals") {
    SetCursorPos(sw / 2, 700);
    move_to(h, sw - b.width, 200);
    w.timer_check();
    CHECK(box_of(h).left == sw - 3);
    w.timer_check();  // never reveals
    CHECK(box_of(h).left == sw - 3);
    SetCursorPos(sw - 1, 400);
    w.idle_check();
    CHECK(box_of(h).left == sw - b.width);
  }
  SUBCASE("a window in the middle stays; a moved window snaps") {
    SetCursorPos(5, 5);
    move_to(h, 400, 200);
    w.idle_check();
    w.timer_check();
    CHECK(box_of(h).left == 400);
    CHECK(box_of(h).top == 200);
    move_to(h, 9, 200);
    SendMessageW(h, WM_EXITSIZEMOVE, 0, 0);
    CHECK(box_of(h).left == 0);
    // Moved by another program, not dragged: it snaps all the same.
    move_to(h, sw - b.width - 2, 300);
    CHECK(box_of(h).left == sw - b.width);
  }
  SUBCASE("the call-out action brings a parked window to top 10") {
    SetCursorPos(sw / 2, 700);
    move_to(h, 300, 0);
    w.idle_check();
    REQUIRE(box_of(h).top < 0);
    activate_main_window();
    CHECK(box_of(h).top == 10);
  }
  move_to(h, w.scale(50), w.scale(50));
}

TEST_CASE("minimise button minimises; a minimised window is not docked") {
  MainWindow& w = main_win();
  test::click_row(w, "图形按钮3");
  pump(50);
  CHECK(IsIconic(w.hwnd()));
  RECT before;
  GetWindowRect(w.hwnd(), &before);
  w.idle_check();
  RECT after;
  GetWindowRect(w.hwnd(), &after);
  CHECK(before.top == after.top);
  activate_main_window();
  CHECK_FALSE(IsIconic(w.hwnd()));
}

TEST_CASE("notice window: shows the text on top, either control closes it") {
  main_win();
  for (const char* closer : {"按钮1", "图形按钮3"}) {
    show_notice("设置开机启动成功！");
    HWND n = find_top("设置开机启动成功！");
    REQUIRE(n);
    pump(200);
    RECT nr;
    GetWindowRect(n, &nr);
    test::save_screen_bmp(nr, test::host_path(TB_ARTIFACTS "/notice.bmp"));
    CHECK((GetWindowLongPtrW(n, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    Window* nw = Window::from(n);
    REQUIRE(nw);
    CHECK(nw->unknown_names().empty());
    if (std::string(closer) == "按钮1") SendMessageW(nw->control(closer), BM_CLICK, 0, 0);
    else test::send_click(nw->control(closer));
    pump(20);
    CHECK_FALSE(IsWindow(n));
  }
  // Opening it twice keeps one window.
  show_notice("一");
  show_notice("二");
  HWND n = find_top("二");
  REQUIRE(n);
  CHECK(find_top("一") == nullptr);
  DestroyWindow(n);
}

namespace {
std::string g_typed;
bool g_use_ok = false;
bool g_use_enter = false;
void CALLBACK drive_input(HWND, UINT, UINT_PTR id, DWORD) {
  HWND in = find_top("请输入相关内容");
  if (!in) return;
  KillTimer(nullptr, id);
  Window* w = Window::from(in);
  if (!w->unknown_names().empty()) g_typed = "unknown names";
  if (!g_typed.empty()) w->set_text("编辑框1", g_typed);
  UpdateWindow(in);
  RECT r;
  GetWindowRect(in, &r);
  test::save_screen_bmp(r, test::host_path(TB_ARTIFACTS "/input.bmp"));
  if (g_use_enter) PostMessageW(w->control("编辑框1"), WM_KEYDOWN, VK_RETURN, 0);
  else if (g_use_ok) SendMessageW(w->control("按钮1"), BM_CLICK, 0, 0);
  else test::send_click(w->control("图形按钮3"));
}
}  // namespace

TEST_CASE("input window returns what its box holds when it closes") {
  MainWindow& w = main_win();
  g_typed = "新建分类";
  g_use_ok = true;
  SetTimer(nullptr, 0, 50, drive_input);
  CHECK(ask_for_text() == "新建分类");
  CHECK(IsWindowEnabled(w.hwnd()));

  g_typed = "";
  g_use_ok = false;
  SetTimer(nullptr, 0, 50, drive_input);
  CHECK(ask_for_text() == "");

  g_typed = "关闭也算";
  SetTimer(nullptr, 0, 50, drive_input);
  CHECK(ask_for_text() == "关闭也算");

  // Enter in the box confirms once; nothing of the key is left for the next window.
  g_typed = "回车";
  g_use_enter = true;
  SetTimer(nullptr, 0, 50, drive_input);
  CHECK(ask_for_text() == "回车");
  g_use_enter = false;
  MSG m;
  CHECK_FALSE(PeekMessageW(&m, nullptr, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
  CHECK(IsWindowEnabled(w.hwnd()));
}
