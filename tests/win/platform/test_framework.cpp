// The window framework: every control kind built from a table, events bound by name,
// pixel surfaces, message boxes.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <doctest/doctest.h>

#include <cstring>
#include <vector>

#include "base/encoding.h"
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
        {"树形框1", K::Tree, 120, 130, 100, 60},
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

struct Fixture {
  Window w;
  Fixture() {
    static bool once = [] {
      init_framework(GetModuleHandleW(nullptr));
      return true;
    }();
    (void)once;
    REQUIRE(w.create(kAll));
  }
};

std::wstring class_of(HWND h) {
  wchar_t buf[64] = {};
  GetClassNameW(h, buf, 64);
  return buf;
}

}  // namespace

TEST_CASE("every control kind is created with its name, class and container") {
  Fixture f;
  CHECK(class_of(f.w.control("编辑框1")) == L"Edit");
  CHECK(class_of(f.w.control("标签1")) == L"Static");
  CHECK(class_of(f.w.control("按钮1")) == L"Button");
  CHECK(class_of(f.w.control("列表框1")) == L"ListBox");
  CHECK(class_of(f.w.control("树形框1")) == WC_TREEVIEWW);
  CHECK(class_of(f.w.control("横向滚动条1")) == L"ScrollBar");
  CHECK(f.w.control("富文本框1") != nullptr);
  CHECK(f.w.text("富文本框1") == "rich");
  CHECK(GetParent(f.w.control("编辑框2")) == f.w.control("外形框1"));
  CHECK(GetParent(GetParent(f.w.control("标签2"))) == f.w.control("选择夹1"));
  // Timers, drop targets and menus have no window of their own.
  CHECK(f.w.control("时钟1") == nullptr);
  CHECK(f.w.control_def("时钟1") != nullptr);
  CHECK(f.w.control("没有这个") == nullptr);
  CHECK(f.w.text("没有这个") == "");
  // Stable identifiers: 1000 + index in the table.
  CHECK(GetDlgCtrlID(f.w.control("按钮1")) == kFirstControlId + 3);
}

TEST_CASE("events reach handlers bound by name") {
  Fixture f;
  std::vector<std::string> seen;
  auto log = [&](const char* what) { return [&seen, what](const EventArgs&) { seen.push_back(what); }; };
  f.w.on("按钮1", Event::Click, log("button"));
  f.w.on("选择框1", Event::Click, log("check"));
  f.w.on("编辑框1", Event::Change, log("change"));
  f.w.on("图形按钮1", Event::Click, log("picture"));
  f.w.on("编辑框2", Event::Change, log("inner change"));

  SendMessageW(f.w.control("按钮1"), BM_CLICK, 0, 0);
  SendMessageW(f.w.control("选择框1"), BM_CLICK, 0, 0);
  f.w.set_text("编辑框1", "新");
  test::send_click(f.w.control("图形按钮1"));
  f.w.set_text("编辑框2", "x");  // inside a shape box: forwarded to the window
  CHECK(seen == std::vector<std::string>{"button", "check", "change", "picture", "inner change"});
  CHECK(f.w.checked("选择框1"));
}

TEST_CASE("picture button: a release outside does not click") {
  Fixture f;
  int clicks = 0;
  f.w.on("图形按钮1", Event::Click, [&](const EventArgs&) { ++clicks; });
  HWND b = f.w.control("图形按钮1");
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
  CHECK(clicks == 0);
  test::send_click(b);
  CHECK(clicks == 1);
}

TEST_CASE("radio buttons form one group") {
  Fixture f;
  SendMessageW(f.w.control("单选框1"), BM_CLICK, 0, 0);
  SendMessageW(f.w.control("单选框2"), BM_CLICK, 0, 0);
  CHECK_FALSE(f.w.checked("单选框1"));
  CHECK(f.w.checked("单选框2"));
}

TEST_CASE("scroll bar: range, page step and the position event") {
  Fixture f;
  std::vector<int> positions;
  f.w.on("横向滚动条1", Event::Scroll, [&](const EventArgs& a) { positions.push_back(a.pos); });
  HWND sb = f.w.control("横向滚动条1");
  CHECK(f.w.scroll_pos("横向滚动条1") == 1);
  SendMessageW(f.w.hwnd(), WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(sb));
  SendMessageW(f.w.hwnd(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(sb));
  SendMessageW(f.w.hwnd(), WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(sb));
  SendMessageW(f.w.hwnd(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(sb));  // at the end: no event
  CHECK(positions == std::vector<int>{11, 12, 100});
  CHECK(f.w.scroll_pos("横向滚动条1") == 100);
}

TEST_CASE("tab pages, timers, file drops") {
  Fixture f;
  CHECK(f.w.selected_page("选择夹1") == 0);
  CHECK_FALSE(IsWindowVisible(f.w.control("标签2")));
  f.w.select_page("选择夹1", 1);
  CHECK(IsWindowVisible(f.w.control("标签2")));
  f.w.select_page("选择夹1", 5);  // out of range: unchanged
  CHECK(f.w.selected_page("选择夹1") == 1);

  int ticks = 0;
  f.w.on("时钟1", Event::Tick, [&](const EventArgs&) { ++ticks; });
  f.w.set_timer("时钟1", 20);
  CHECK(test::wait_until([&] { return ticks >= 3; }, 3000));
  f.w.kill_timer("时钟1");

  std::vector<std::string> dropped;
  f.w.on("拖放1", Event::Drop, [&](const EventArgs& a) { dropped = a.files; });
  const wchar_t files[] = L"C:\\图\\a.bmp\0C:\\b.txt\0";
  HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof files);
  auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
  df->pFiles = sizeof(DROPFILES);
  df->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), files, sizeof files);
  GlobalUnlock(mem);
  SendMessageW(f.w.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
  CHECK(dropped == std::vector<std::string>{"C:\\图\\a.bmp", "C:\\b.txt"});
}

TEST_CASE("drawing panel: a DIB surface shown on screen") {
  Fixture f;
  Surface s = f.w.surface("画板1");
  REQUIRE(s.pixels);
  CHECK(s.width == f.w.scale(60));
  CHECK(s.height == f.w.scale(40));
  std::fill(s.pixels, s.pixels + s.width * s.height, 0x00FF0000u);  // red
  f.w.repaint("画板1");
  UpdateWindow(f.w.control("画板1"));
  pump(50);
  POINT p{5, 5};
  ClientToScreen(f.w.control("画板1"), &p);
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  CHECK(c == RGB(255, 0, 0));
  CHECK(f.w.surface("按钮1").pixels == nullptr);
}

TEST_CASE("flat look replaces sunken edges with thin borders") {
  Fixture f;
  HWND e = f.w.control("编辑框1");
  CHECK((GetWindowLongPtrW(e, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
  apply_flat_look(1);
  CHECK((GetWindowLongPtrW(e, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0);
  CHECK((GetWindowLongPtrW(e, GWL_STYLE) & WS_BORDER) != 0);
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
