// The window framework: every control kind built from a table, events bound by name,
// pixel surfaces, message boxes.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <doctest/doctest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "base/encoding.h"
#include "platform/hook.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "tests/support/win_test_util.h"

using namespace tb;
using tb::test::pump;

namespace {

using K = Kind;
const WindowDef kAll{
    "全部控件",
    "框架测试",
    420,
    360,
    20,
    20,
    {
        {"编辑框1", K::Edit, 10, 40, 120, 22, {}, "编辑"},
        {"标签1", K::Label, 140, 40, 80, 20, {}, "标签"},
        {"透明标签1", K::TransparentLabel, 230, 40, 80, 20, {}, "透明"},
        {"按钮1", K::Button, 10, 70, 80, 26, {}, "确定"},
        {"图形按钮1", K::PictureButton, 100, 70, 80, 26, {}, "图形"},
        {"选择框1", K::CheckBox, 190, 70, 80, 24, {}, "选择"},
        {"单选框1", K::Radio, 10, 100, 60, 24, {}, "甲"},
        {"单选框2", K::Radio, 80, 100, 60, 24, {}, "乙"},
        {"列表框1", K::ListBox, 10, 130, 100, 60},
        {"树形框1", K::Tree, 120, 130, 100, 60, {}, {}, -1, true, style::kTreeEditLabels},
        {"选择夹1", K::Tab, 230, 100, 180, 90, {}, "一|二"},
        {"标签2", K::Label, 5, 5, 60, 20, "选择夹1", "第二页", 1},
        {"富文本框1", K::RichEdit, 10, 200, 200, 60, {}, "rich"},
        {"外形框1", K::ShapeBox, 220, 200, 90, 60},
        {"编辑框2", K::Edit, 5, 5, 60, 20, "外形框1", "内"},
        {"图片框1", K::PictureBox, 320, 200, 90, 60},
        {"画板1", K::DrawingPanel, 10, 270, 60, 40},
        {"分组框1", K::GroupBox, 80, 270, 120, 50, {}, "分组"},
        {"横向滚动条1", K::HScrollBar, 210, 280, 160, 16},
        {"时钟1", K::Timer, 0, 0, 0, 0},
        {"拖放1", K::FileDrop, 0, 0, 0, 0},
        {"菜单1", K::PopupMenu, 0, 0, 0, 0, {}, "置顶|取消置顶"},
    },
};

void init_once() {
  static bool once = [] {
    init_framework(GetModuleHandleW(nullptr));
    return true;
  }();
  (void)once;
}

struct Fixture {
  Window* w = nullptr;
  HWND h = nullptr;
  Fixture() {
    init_once();
    w = Window::open(kAll);
    REQUIRE(w);
    h = w->hwnd();
  }
  ~Fixture() {
    if (IsWindow(h)) DestroyWindow(h);
  }
};

using tb::test::class_of;

}  // namespace

TEST_CASE("every control kind is created with its name, class and container") {
  Fixture f;
  CHECK(class_of(f.w->control("编辑框1")) == L"Edit");
  CHECK(class_of(f.w->control("标签1")) == L"Static");
  CHECK(class_of(f.w->control("按钮1")) == L"Button");
  CHECK(class_of(f.w->control("列表框1")) == L"ListBox");
  CHECK(class_of(f.w->control("树形框1")) == WC_TREEVIEWW);
  CHECK(class_of(f.w->control("横向滚动条1")) == L"ScrollBar");
  CHECK(f.w->control("富文本框1") != nullptr);
  CHECK(f.w->text("富文本框1") == "rich");
  CHECK(GetParent(f.w->control("编辑框2")) == f.w->control("外形框1"));
  CHECK(GetParent(GetParent(f.w->control("标签2"))) == f.w->control("选择夹1"));
  // Timers, drop targets and menus have no window of their own.
  CHECK(f.w->control("时钟1") == nullptr);
  CHECK(f.w->control_def("时钟1") != nullptr);
  CHECK(f.w->control("没有这个") == nullptr);
  CHECK(f.w->text("没有这个") == "");
  // Stable identifiers: 1000 + index in the table.
  CHECK(GetDlgCtrlID(f.w->control("按钮1")) == kFirstControlId + 3);
  // Check boxes take the common controls' current look (only its buttons know this message).
  SIZE ideal{};
  CHECK(SendMessageW(f.w->control("选择框1"), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
  // Siblings stack as in the stored layouts: later rows above earlier ones, shape boxes
  // beneath the rest. The window's children from the top:
  std::vector<int> rows;
  for (HWND c = GetWindow(f.h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) rows.push_back(GetDlgCtrlID(c) - kFirstControlId);
  std::vector<int> expected;
  for (int i = static_cast<int>(kAll.controls.size()) - 1; i >= 0; --i) {
    const ControlDef& d = kAll.controls[static_cast<std::size_t>(i)];
    if (d.parent.empty() && d.kind != K::ShapeBox && f.w->control(d.name)) expected.push_back(i);
  }
  expected.push_back(13);  // 外形框1
  CHECK(rows == expected);
}

TEST_CASE("events reach handlers bound by name") {
  Fixture f;
  std::vector<std::string> seen;
  auto log = [&](const char* what) { return [&seen, what](const EventArgs&) { seen.push_back(what); }; };
  f.w->on("按钮1", Event::Click, log("button"));
  f.w->on("选择框1", Event::Click, log("check"));
  f.w->on("编辑框1", Event::Change, log("change"));
  f.w->on("图形按钮1", Event::Click, log("picture"));
  f.w->on("编辑框2", Event::Change, log("inner change"));

  SendMessageW(f.w->control("按钮1"), BM_CLICK, 0, 0);
  SendMessageW(f.w->control("选择框1"), BM_CLICK, 0, 0);
  f.w->set_text("编辑框1", "新");
  test::send_click(f.w->control("图形按钮1"));
  f.w->set_text("编辑框2", "x");  // inside a shape box: forwarded to the window
  CHECK(seen == std::vector<std::string>{"button", "check", "change", "picture", "inner change"});
  CHECK(f.w->checked("选择框1"));
}

TEST_CASE("picture button: a release outside does not click") {
  Fixture f;
  int clicks = 0;
  f.w->on("图形按钮1", Event::Click, [&](const EventArgs&) { ++clicks; });
  HWND b = f.w->control("图形按钮1");
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
  CHECK(clicks == 0);
  test::send_click(b);
  CHECK(clicks == 1);
}

TEST_CASE("radio buttons form one group") {
  Fixture f;
  SendMessageW(f.w->control("单选框1"), BM_CLICK, 0, 0);
  SendMessageW(f.w->control("单选框2"), BM_CLICK, 0, 0);
  CHECK_FALSE(f.w->checked("单选框1"));
  CHECK(f.w->checked("单选框2"));
}

TEST_CASE("scroll bar: range, page step and the position event") {
  Fixture f;
  std::vector<int> positions;
  f.w->on("横向滚动条1", Event::Scroll, [&](const EventArgs& a) { positions.push_back(a.pos); });
  HWND sb = f.w->control("横向滚动条1");
  CHECK(f.w->scroll_pos("横向滚动条1") == 1);
  SendMessageW(f.w->hwnd(), WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(sb));
  SendMessageW(f.w->hwnd(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(sb));
  SendMessageW(f.w->hwnd(), WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(sb));
  SendMessageW(f.w->hwnd(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(sb));  // at the end: no event
  CHECK(positions == std::vector<int>{11, 12, 100});
  CHECK(f.w->scroll_pos("横向滚动条1") == 100);
}

TEST_CASE("tab pages, timers, file drops") {
  Fixture f;
  CHECK(f.w->selected_page("选择夹1") == 0);
  // A later page and its rows get windows when the page first shows, or when one of its
  // rows is asked for.
  HWND tab = f.w->control("选择夹1");
  auto pages = [&] {
    int n = 0;
    for (HWND c = GetWindow(tab, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++n;
    return n;
  };
  CHECK(pages() == 1);
  f.w->set_painter("标签2", {});  // needs no window
  CHECK(pages() == 1);
  f.w->select_page("选择夹1", 1);
  CHECK(pages() == 2);
  CHECK(IsWindowVisible(f.w->control("标签2")));
  HWND page1 = GetParent(f.w->control("标签2"));
  CHECK(GetParent(page1) == tab);
  wchar_t name[8] = {};
  GetWindowTextW(page1, name, 8);
  CHECK(to_gbk(name) == "二");
  {
    Fixture g;  // asked for before its page shows
    CHECK(g.w->text("标签2") == "第二页");
    CHECK_FALSE(IsWindowVisible(g.w->control("标签2")));
  }
  f.w->select_page("选择夹1", 5);  // out of range: unchanged
  CHECK(f.w->selected_page("选择夹1") == 1);

  int ticks = 0;
  f.w->on("时钟1", Event::Tick, [&](const EventArgs&) { ++ticks; });
  f.w->set_timer("时钟1", 20);
  CHECK(test::wait_until([&] { return ticks >= 3; }, 3000));
  f.w->kill_timer("时钟1");

  std::vector<std::string> dropped;
  f.w->on("拖放1", Event::Drop, [&](const EventArgs& a) { dropped = a.files; });
  test::send_drop(f.w->hwnd(), {"C:\\图\\a.bmp", "C:\\b.txt"});
  CHECK(dropped == std::vector<std::string>{"C:\\图\\a.bmp", "C:\\b.txt"});
}

TEST_CASE("drawing panel: a DIB surface shown on screen") {
  Fixture f;
  Surface s = f.w->surface("画板1");
  REQUIRE(s.pixels);
  CHECK(s.width == f.w->scale(60));
  CHECK(s.height == f.w->scale(40));
  std::fill(s.pixels, s.pixels + s.width * s.height, 0x00FF0000u);  // red
  f.w->repaint("画板1");
  UpdateWindow(f.w->control("画板1"));
  pump(50);
  POINT p{5, 5};
  ClientToScreen(f.w->control("画板1"), &p);
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  CHECK(c == RGB(255, 0, 0));
  CHECK(f.w->surface("按钮1").pixels == nullptr);
}

TEST_CASE("framed kinds are created flat: thin borders, no sunken edges") {
  Fixture f;
  for (std::string name : {"编辑框1", "列表框1", "树形框1", "富文本框1"}) {
    CAPTURE(name);
    HWND e = f.w->control(name);
    CHECK((GetWindowLongPtrW(e, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) == 0);
    // An edit takes WS_BORDER over and draws the thin border itself.
    if (name != "编辑框1") CHECK((GetWindowLongPtrW(e, GWL_STYLE) & WS_BORDER) != 0);
  }
}

namespace {
UINT g_press = IDOK;
std::wstring g_title;
void CALLBACK answer_box(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowW(L"#32770", nullptr);
  if (!box) return;
  KillTimer(nullptr, id);
  wchar_t t[64] = {};
  GetWindowTextW(box, t, 64);
  g_title = t;
  PostMessageW(box, WM_COMMAND, g_press, 0);
}
}  // namespace

TEST_CASE("message boxes: default title and the button code minus one") {
  init_framework(GetModuleHandleW(nullptr));
  g_press = IDOK;
  SetTimer(nullptr, 0, 50, answer_box);
  CHECK(message_box("请输入要搜索的内容！") == 0);
  CHECK(g_title == to_wide("信息："));
  g_press = IDNO;
  SetTimer(nullptr, 0, 50, answer_box);
  CHECK(message_box("删除？", MB_YESNO, "Tarvo") == 6);
  CHECK(g_title == L"Tarvo");
  g_press = IDYES;
  SetTimer(nullptr, 0, 50, answer_box);
  CHECK(message_box("删除？", MB_YESNO) == 5);
}

// ---- Events that answer, reflection, lifetime and modal windows ----

namespace {

void dbl_click(HWND h) {
  for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    SendMessageW(h, m, m == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(3, 3));
}

struct Logged : Fixture {
  std::vector<std::string> log;
  void watch(const char* name, Event ev, const char* what) {
    w->on(name, ev, [this, what](EventArgs&) { log.push_back(what); });
  }
};

}  // namespace

TEST_CASE("input -> events: a fast second click is a click on every button kind") {
  struct Row {
    const char* name;
    std::vector<std::string> expected;
  };
  const Row rows[] = {
      {"按钮1", {"click", "click"}},
      {"图形按钮1", {"click", "double", "click"}},
      {"选择框1", {"click", "click"}},
      {"单选框1", {"click", "click"}},
  };
  for (const Row& r : rows) {
    CAPTURE(r.name);
    Logged f;
    f.watch(r.name, Event::Click, "click");
    f.watch(r.name, Event::DoubleClick, "double");
    dbl_click(f.w->control(r.name));
    CHECK(f.log == r.expected);
  }
}

TEST_CASE("input -> events: rich edits and edits report changes") {
  Logged f;
  f.watch("富文本框1", Event::Change, "rich");
  f.watch("编辑框1", Event::Change, "edit");
  f.w->set_text("富文本框1", "新的内容");
  SendMessageW(f.w->control("富文本框1"), WM_CHAR, 'a', 0);
  f.w->set_text("编辑框1", "x");
  CHECK(f.log == std::vector<std::string>{"rich", "rich", "edit"});
}

TEST_CASE("a handled key goes no further; an unhandled one reaches the control") {
  Logged f;
  HWND e = f.w->control("编辑框1");
  f.w->set_text("编辑框1", "");
  f.w->on("编辑框1", Event::KeyDown, [](EventArgs& a) {
    if (a.key == 'B') a.answer(0);
  });
  for (WPARAM k : {WPARAM('A'), WPARAM('B')}) {
    SendMessageW(e, WM_KEYDOWN, k, 0);
    SendMessageW(e, WM_CHAR, k + 32, 0);  // what TranslateMessage would add
  }
  CHECK(f.w->text("编辑框1") == "a");
}

TEST_CASE("tree rename: accepted, refused, cancelled, unbound") {
  struct Row {
    const char* what;
    int answer;  // -1 no handler, 0 refuse, 1 accept without answering, 2 answer TRUE
    bool cancel;
    const char* label_after;
  };
  const Row rows[] = {
      {"no handler", -1, false, "旧名"},
      {"refused", 0, false, "旧名"},
      {"accepted", 1, false, "新名"},
      {"answered", 2, false, "新名"},
      {"cancelled", 1, true, "旧名"},
  };
  for (const Row& r : rows) {
    CAPTURE(r.what);
    Fixture f;
    HWND tree = f.w->control("树形框1");
    std::wstring old_name = to_wide("旧名");
    TVINSERTSTRUCTW ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = old_name.data();
    auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    std::vector<std::string> seen;
    if (r.answer >= 0)
      f.w->on("树形框1", Event::Rename, [&, r](EventArgs& a) {
        seen.push_back(a.text);
        CHECK(a.node == reinterpret_cast<std::intptr_t>(node));
        if (r.answer == 0) a.refuse();
        if (r.answer == 2) a.answer(TRUE);
      });
    HWND edit = reinterpret_cast<HWND>(SendMessageW(tree, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node)));
    REQUIRE(edit);
    SetWindowTextW(edit, to_wide("新名").c_str());
    SendMessageW(tree, TVM_ENDEDITLABELNOW, r.cancel ? TRUE : FALSE, 0);
    wchar_t buf[32] = {};
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = node;
    it.pszText = buf;
    it.cchTextMax = 32;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    CHECK(to_gbk(buf) == r.label_after);
    CHECK(seen.size() == (r.answer >= 0 && !r.cancel ? 1u : 0u));
  }
}

TEST_CASE("a label's colour comes from its Colour handler, else from the theme") {
  Fixture f;
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  f.w->on("标签1", Event::Colour, [red](EventArgs& a) {
    SetTextColor(a.dc, RGB(255, 255, 255));
    a.answer(reinterpret_cast<LRESULT>(red));
  });
  HDC dc = GetDC(f.h);
  auto ask = [&](const char* name) {
    return SendMessageW(f.h, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(f.w->control(name)));
  };
  CHECK(ask("标签1") == reinterpret_cast<LRESULT>(red));
  CHECK(GetTextColor(dc) == RGB(255, 255, 255));
  CHECK(ask("透明标签1") == reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  ReleaseDC(f.h, dc);
  DeleteObject(red);
}

TEST_CASE("a parent's notifications reach a hooked child that answers for itself") {
  Fixture f;
  // An owner-drawn list of its own, as the grouped list is, inside a container and on the window.
  for (HWND parent : {f.w->control("外形框1"), f.h}) {
    CAPTURE(parent == f.h);
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_NOTIFY, 0, 0,
                                80, 80, parent, reinterpret_cast<HMENU>(77), GetModuleHandleW(nullptr), nullptr);
    std::vector<UINT> seen;
    hook_window(list, [&](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT& r) {
      if (msg < kReflected) return false;
      seen.push_back(msg - kReflected);
      if (msg == kReflected + WM_MEASUREITEM) reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 33;
      r = TRUE;
      return msg != kReflected + WM_COMMAND;  // commands go on to the parent
    });
    SendMessageW(list, LB_ADDSTRING, 0, 1);
    CHECK(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0) == 33);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(77, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    CHECK(std::count(seen.begin(), seen.end(), UINT(WM_MEASUREITEM)) == 1);
    CHECK(std::count(seen.begin(), seen.end(), UINT(WM_DRAWITEM)) >= 1);
    CHECK(std::count(seen.begin(), seen.end(), UINT(WM_COMMAND)) == 1);
    DestroyWindow(list);
    CHECK_FALSE(is_hooked(list));
  }
  // The framework's own list, not hooked by anyone else, still reports through its window.
  int changes = 0;
  f.w->on("列表框1", Event::Change, [&](EventArgs&) { ++changes; });
  SendMessageW(f.h, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(f.w->control("列表框1")), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(f.w->control("列表框1")));
  CHECK(changes == 1);
}

TEST_CASE("hooks: newest first, an answer stops the chain, unhooking gives the procedure back") {
  init_once();
  HWND h = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const LONG_PTR own = GetWindowLongPtrW(h, GWLP_WNDPROC);
  std::vector<std::string> order;
  int a = hook_window(h, [&](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (m != WM_APP) return false;
    order.push_back("a");
    r = 1;
    return true;
  });
  int b = hook_window(h, [&](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_APP) order.push_back("b");
    return false;
  });
  CHECK(SendMessageW(h, WM_APP, 0, 0) == 1);
  CHECK(order == std::vector<std::string>{"b", "a"});
  // call_next: the older hooks and the window's own procedure answer first, once each.
  int c = hook_window(h, [&](HWND w, UINT m, WPARAM wp, LPARAM lp, LRESULT& r) {
    if (m != WM_APP) return false;
    order.push_back("c");
    r = call_next(w, m, wp, lp) + 100;
    order.push_back("c returns");
    return true;
  });
  order.clear();
  CHECK(SendMessageW(h, WM_APP, 0, 0) == 101);
  CHECK(order == std::vector<std::string>{"c", "b", "a", "c returns"});
  unhook_window(h, c);
  unhook_window(h, b);
  unhook_window(h, a);
  CHECK(GetWindowLongPtrW(h, GWLP_WNDPROC) == own);
  CHECK(SendMessageW(h, WM_APP, 0, 0) == 0);
  DestroyWindow(h);
}

namespace {
int g_destroyed = 0;
struct SelfClosing : Window {
  int payload = 42;
  void on_created() override { destroy(); }
  void on_destroyed() override { g_destroyed += payload; }  // the derived part is still whole
};
struct Asking : Window {
  bool allow = false;
  void on_created() override {
    on("", Event::Close, [this](EventArgs& a) {
      if (!allow) a.refuse();
    });
  }
  void on_destroyed() override { ++g_destroyed; }
};
struct Modal : Window {
  static int mode;  // 0: end with 5, 1: WM_QUIT 7 arrives
  void on_created() override {
    if (mode == 0) PostMessageW(hwnd(), WM_APP, 0, 0);
    else PostQuitMessage(7);
  }
  bool on_message(UINT msg, WPARAM, LPARAM, LRESULT&) override {
    if (msg == WM_APP) end_modal(5);
    return false;
  }
  void on_destroyed() override { ++g_destroyed; }
};
int Modal::mode = 0;
}  // namespace

TEST_CASE("lifetime: a window that closes itself while being created is gone, and only once") {
  init_once();
  g_destroyed = 0;
  CHECK(Window::open<SelfClosing>(kAll) == nullptr);
  CHECK(g_destroyed == 42);
  SelfClosing* slot = nullptr;
  CHECK(Window::open_single(slot, kAll) == nullptr);
  CHECK(slot == nullptr);
  CHECK(g_destroyed == 84);
  CHECK(Window::open_windows().empty());
}

TEST_CASE("modal windows return their result; WM_QUIT closes them and is posted again") {
  init_once();
  Fixture other;
  g_destroyed = 0;
  Modal::mode = 0;
  CHECK(Window::run_modal<Modal>(kAll) == 5);
  CHECK(IsWindowEnabled(other.h));
  Modal::mode = 1;
  CHECK(Window::run_modal<Modal>(kAll) == 0);
  CHECK(g_destroyed == 2);
  CHECK(IsWindowEnabled(other.h));
  MSG m;
  REQUIRE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  CHECK(m.wParam == 7);
  CHECK(Window::open_windows().size() == 1);
}

TEST_CASE("closing everything: a window that refuses keeps the toolbox open") {
  init_once();
  Fixture main;
  g_destroyed = 0;
  Asking* a = Window::open<Asking>(kAll);
  REQUIRE(a);
  HWND ah = a->hwnd();
  CHECK_FALSE(Window::close_all(main.w));
  CHECK(IsWindow(ah));
  a->allow = true;
  CHECK(Window::close_all(main.w));
  CHECK_FALSE(IsWindow(ah));
  CHECK(g_destroyed == 1);
  CHECK(IsWindow(main.h));
}

TEST_CASE("names the code uses that the table lacks are reported") {
  Fixture f;
  CHECK(f.w->unknown_names().empty());
  f.w->on("按钮1", Event::Click, [](EventArgs&) {});
  f.w->on("按扭1", Event::Click, [](EventArgs&) {});  // a typo
  (void)f.w->text("没有这个");
  CHECK(f.w->unknown_names() == std::set<std::string, std::less<>>{"按扭1", "没有这个"});
}

TEST_CASE("a renewed control is empty, in the same place and order, and still reports") {
  Fixture f;
  HWND old = f.w->control("富文本框1");
  f.w->set_text("富文本框1", "很多行");
  RECT before;
  GetWindowRect(old, &before);
  HWND above = GetWindow(old, GW_HWNDPREV);
  REQUIRE(f.w->renew("富文本框1"));
  HWND now = f.w->control("富文本框1");
  CHECK_FALSE(IsWindow(old));
  CHECK(f.w->text("富文本框1") == "");
  RECT after;
  GetWindowRect(now, &after);
  CHECK(EqualRect(&before, &after));
  CHECK(GetWindow(now, GW_HWNDPREV) == above);
  CHECK(GetDlgCtrlID(now) == GetDlgCtrlID(f.w->control("富文本框1")));
  int changes = 0;
  f.w->on("富文本框1", Event::Change, [&](EventArgs&) { ++changes; });
  f.w->set_text("富文本框1", "新");
  CHECK(changes == 1);
  CHECK_FALSE(f.w->renew("外形框1"));  // containers hold other controls: never renewed
}

namespace {
// The box's client pixels as they are on the screen.
std::vector<COLORREF> box_pixels(HWND h) {
  UpdateWindow(h);
  RECT rc;
  GetClientRect(h, &rc);
  HDC dc = GetDC(h);
  std::vector<COLORREF> px;
  for (int y = 0; y < rc.bottom; ++y)
    for (int x = 0; x < rc.right; ++x) px.push_back(GetPixel(dc, x, y));
  ReleaseDC(h, dc);
  return px;
}

const WindowDef kLive{"读数", "读数", 300, 120, 30, 30,
                      {{"读数框", K::Edit, 10, 40, 120, 26, {}, "起初", -1, true, style::kLiveBox},
                       {"编辑框1", K::Edit, 150, 40, 120, 26}}};
}  // namespace

TEST_CASE("a readout box: its text read back, reported once, drawn in the flat look, an edit while focused") {
  init_once();
  Window* w = Window::open(kLive);
  REQUIRE(w);
  HWND box = w->control("读数框");
  SetFocus(w->control("编辑框1"));
  int changes = 0;
  w->on("读数框", Event::Change, [&](EventArgs&) { ++changes; });
  struct Row {
    const char* text;
    bool long_text;
  };
  for (const Row& r : {Row{"窗口类名 Notepad", false}, Row{"", false},
                       Row{"一个比读数框宽得多的标题 0123456789 abcdefghijklmnopqrstuvwxyz", true}}) {
    CAPTURE(r.text);
    changes = 0;
    w->set_text("读数框", r.text);
    CHECK(changes == 1);
    CHECK(w->text("读数框") == r.text);
    wchar_t small[4] = {L'x', L'x', L'x', L'x'};
    CHECK(GetWindowTextW(box, small, 4) == static_cast<int>(std::min<std::size_t>(3, to_wide(r.text).size())));
    const std::vector<COLORREF> shown = box_pixels(box);
    CHECK(shown.front() == GetSysColor(COLOR_WINDOWFRAME));  // the frame the other boxes have
    InvalidateRect(box, nullptr, TRUE);
    CHECK(box_pixels(box) == shown);  // a later paint draws the same
    CHECK(changes == 1);
    CHECK(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0) == static_cast<LRESULT>(to_wide(r.text).size()));
  }
  // Focused, the box holds an edit; a text set meanwhile goes into it, and stays when the
  // focus leaves; a text set from outside replaces it.
  SetFocus(box);
  HWND edit = GetFocus();
  CHECK(GetParent(edit) == box);
  CHECK(test::class_of(edit) == L"Edit");
  w->set_text("读数框", "编辑中");
  CHECK(GetWindowTextLengthW(edit) == 3);
  SetFocus(w->control("编辑框1"));
  CHECK(test::wait_until([&] { return !IsWindow(edit); }, 1000));
  CHECK(w->text("读数框") == "编辑中");
  SetWindowTextW(box, L"外来");
  CHECK(w->text("读数框") == "外来");
  CHECK(GetWindowTextLengthW(box) == 2);
  DestroyWindow(w->hwnd());
}

namespace {
constexpr auto kDrawn = style::kDrawn;
const WindowDef kDrawnRows{
    "绘制",
    "绘制",
    320,
    220,
    30,
    30,
    {
        {"图形按钮甲", K::PictureButton, 10, 40, 80, 26, {}, "按钮"},
        {"图形按钮乙", K::PictureButton, 110, 40, 80, 26, {}, "按钮", -1, true, kDrawn, 0, 0, "提示", Tip::Centred},
        {"透明标签甲", K::TransparentLabel, 10, 80, 130, 40, {}, "一行放不下的透明标签文字"},
        {"透明标签乙", K::TransparentLabel, 160, 80, 130, 40, {}, "一行放不下的透明标签文字", -1, true, kDrawn},
        {"外形框1", K::ShapeBox, 10, 130, 200, 60},
        {"图形按钮丙", K::PictureButton, 5, 5, 60, 24, "外形框1", "内", -1, true, kDrawn},
        {"图形按钮关", K::PictureButton, 280, 3, 30, 17, {}, {}, -1, true, kDrawn},
    },
};

// Client pixels of `r` in window h, as they are on the screen.
std::vector<COLORREF> pixels_of(HWND h, const RECT& r) {
  UpdateWindow(h);
  HDC dc = GetDC(h);
  std::vector<COLORREF> px;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) px.push_back(GetPixel(dc, x, y));
  ReleaseDC(h, dc);
  return px;
}
}  // namespace

TEST_CASE("a drawn row: no window, painted as its window would be, clicked, hovered, hidden, on the caption band") {
  init_once();
  Window* w = Window::open(kDrawnRows);
  REQUIRE(w);
  std::vector<theme::Face> faces;
  w->set_painter("图形按钮乙", [&](HDC dc, const RECT& r, theme::Face f) {
    faces.push_back(f);
    theme::button_face(dc, r, "按钮", f, 100);
  });
  w->set_painter("图形按钮甲", [](HDC dc, const RECT& r, theme::Face f) { theme::button_face(dc, r, "按钮", f, 100); });
  for (const char* name : {"图形按钮乙", "透明标签乙", "图形按钮丙", "图形按钮关"}) CHECK(w->control(name) == nullptr);
  HWND in = nullptr;
  RECT r{};
  REQUIRE(w->locate("图形按钮丙", in, r));
  CHECK(in == w->control("外形框1"));
  CHECK(r.left == w->scale(5));

  // Pixel for pixel as the window of the same row draws itself.
  auto same_as_window = [&](const char* windowed, const char* drawn) {
    CAPTURE(std::string(drawn));
    // Both painted afresh, each container before what lies on it.
    RedrawWindow(w->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HWND wh = nullptr, dh = nullptr;
    RECT wr{}, dr{};
    REQUIRE(w->locate(windowed, wh, wr));
    REQUIRE(w->locate(drawn, dh, dr));
    std::vector<COLORREF> a = pixels_of(wh, wr), b = pixels_of(dh, dr);
    CHECK(std::count(a.begin(), a.end(), a.front()) < static_cast<std::ptrdiff_t>(a.size()));  // something drawn
    CHECK(a == b);
  };
  same_as_window("图形按钮甲", "图形按钮乙");
  same_as_window("透明标签甲", "透明标签乙");
  w->set_text("透明标签乙", "新的文字");
  w->set_text("透明标签甲", "新的文字");
  CHECK(w->text("透明标签乙") == "新的文字");
  same_as_window("透明标签甲", "透明标签乙");

  // Events as the window reports them; a release outside or a hidden row does not click.
  std::vector<std::string> seen;
  for (const char* name : {"图形按钮乙", "图形按钮丙", "透明标签乙"})
    for (Event ev : {Event::Click, Event::MouseDown, Event::MouseUp, Event::RightClick})
      w->on(name, ev, [&seen, name, ev](const EventArgs& a) {
        seen.push_back(std::string(name) + "/" + std::to_string(static_cast<int>(ev)) + "@" + std::to_string(a.x));
      });
  const auto at = [&](const char* name) {
    REQUIRE(w->locate(name, in, r));
    return test::middle(r);
  };
  const std::string click = std::to_string(static_cast<int>(Event::Click)),
                    down = std::to_string(static_cast<int>(Event::MouseDown)),
                    up = std::to_string(static_cast<int>(Event::MouseUp));
  const std::string mid = std::to_string(w->scale(40));
  test::send_click(w->hwnd(), at("图形按钮乙"));
  CHECK(seen == std::vector<std::string>{"图形按钮乙/" + down + "@" + mid, "图形按钮乙/" + up + "@" + mid,
                                         "图形按钮乙/" + click + "@" + mid});
  seen.clear();
  test::send_click(w->control("外形框1"), at("图形按钮丙"));
  CHECK(seen.size() == 3);
  CHECK(seen.back().rfind("图形按钮丙/" + click, 0) == 0);
  seen.clear();
  const POINT p = at("图形按钮乙");
  SendMessageW(w->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  UpdateWindow(w->hwnd());
  CHECK(GetCapture() == w->hwnd());
  CHECK(faces.back() == theme::Face::Pressed);
  SendMessageW(w->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(p.x + w->scale(100), p.y));
  CHECK(seen.size() == 2);  // down, up: no click
  CHECK(GetCapture() == nullptr);
  seen.clear();
  test::send_click(w->hwnd(), at("透明标签乙"));
  CHECK(seen.size() == 3);  // a label clicks on the press, as its window does
  seen.clear();
  SendMessageW(w->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  UpdateWindow(w->hwnd());
  CHECK(faces.back() == theme::Face::Hover);
  SendMessageW(w->hwnd(), WM_MOUSELEAVE, 0, 0);
  UpdateWindow(w->hwnd());
  CHECK(faces.back() == theme::Face::Normal);
  w->show("图形按钮乙", false);
  CHECK_FALSE(w->visible("图形按钮乙"));
  test::send_click(w->hwnd(), p);
  CHECK(seen.empty());
  REQUIRE(w->locate("图形按钮乙", in, r));
  std::vector<COLORREF> hidden = pixels_of(in, r);
  CHECK(std::count(hidden.begin(), hidden.end(), hidden.front()) == static_cast<std::ptrdiff_t>(hidden.size()));
  w->show("图形按钮乙", true);
  CHECK(w->visible("图形按钮乙"));

  // A drawn row on the caption band is clicked, not dragged; the band around it drags.
  POINT band = at("图形按钮关"), beside{band.x - w->scale(40), band.y};
  ClientToScreen(w->hwnd(), &band);
  ClientToScreen(w->hwnd(), &beside);
  CHECK(SendMessageW(w->hwnd(), WM_NCHITTEST, 0, MAKELPARAM(band.x, band.y)) == HTCLIENT);
  CHECK(SendMessageW(w->hwnd(), WM_NCHITTEST, 0, MAKELPARAM(beside.x, beside.y)) == HTCAPTION);

  // Its tooltip is a rectangle of its container.
  SendMessageW(w->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w->hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  HWND tip = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        if (class_of(h) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(lp) = h;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tip));
  REQUIRE(tip);
  TTHITTESTINFOW hit{};
  hit.hwnd = w->hwnd();
  hit.pt = at("图形按钮乙");
  hit.ti.cbSize = sizeof hit.ti;
  CHECK(SendMessageW(tip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
  DestroyWindow(w->hwnd());
}

TEST_CASE("work given for after the paint runs once the window has painted, in order") {
  Fixture f;
  std::vector<std::string> log;
  f.w->set_painter("图片框1", [&](HDC, const RECT&, theme::Face) { log.push_back("paint"); });
  log.clear();
  when_painted([&] {
    log.push_back("first");
    f.w->repaint("图片框1");
    when_painted([&] { log.push_back("after its paint"); });
  });
  when_painted([&] { log.push_back("second"); });
  f.w->repaint("图片框1");
  CHECK(test::wait_until([&] { return log.size() >= 5; }, 3000));
  CHECK(log == std::vector<std::string>{"paint", "first", "second", "paint", "after its paint"});
}
