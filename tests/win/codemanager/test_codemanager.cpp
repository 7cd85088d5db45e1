#include <doctest/doctest.h>
#include <windows.h>

#include <richedit.h>
#include <shlobj.h>

#include <algorithm>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "app/shell.h"
#include "codemanager/formatter.h"
#include "codemanager/translator.h"
#include "platform/handles.h"
#include "resources/codemanager_window.h"
#include "resources/shell_windows.h"
#include "tests/support/win_test_util.h"
#include "tests/support/window_click.h"
#include "tests/win/codemanager/cm_driver.h"

using namespace cm_test;
using tb::to_wide;
using tb::codemanager::CodeManagerWindow;
namespace n = tb::res::codemanager_names;

namespace {

// Names the input window would give, one per question.
std::deque<std::string> g_names;
std::string next_name() {
  std::string s = g_names.empty() ? std::string() : g_names.front();
  if (!g_names.empty()) g_names.pop_front();
  return s;
}

// Message boxes: the next one is answered with g_press and its texts kept.
UINT g_press = IDOK;
std::wstring g_box_title, g_box_text;
int g_boxes = 0;
BOOL CALLBACK box_text(HWND c, LPARAM) {
  wchar_t cls[32] = {}, t[512] = {};
  GetClassNameW(c, cls, 32);
  GetWindowTextW(c, t, 512);
  if (std::wstring(cls) == L"Static" && wcslen(t) > g_box_text.size()) g_box_text = t;
  return TRUE;
}
// Always running: a box nobody expected is answered too (and shows up as a failed check).
void CALLBACK answer_box(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = FindWindowW(L"#32770", nullptr);
  if (!box || !IsWindowVisible(box)) return;
  wchar_t t[64] = {};
  GetWindowTextW(box, t, 64);
  g_box_title = t;
  g_box_text.clear();
  EnumChildWindows(box, box_text, 0);
  ++g_boxes;
  PostMessageW(box, WM_COMMAND, g_press, 0);
  g_press = IDOK;
}
// Runs `action` with the next message box answered by `press`; returns the box's text
// ("" when none came).
template <class F>
std::string with_box(UINT press, F&& action) {
  static UINT_PTR timer = SetTimer(nullptr, 0, 30, answer_box);
  (void)timer;
  g_press = press;
  g_box_text.clear();
  const int before = g_boxes;
  action();
  pump(50);
  g_press = IDOK;
  if (g_boxes == before) return {};
  CHECK(g_box_title == L"Tarvo");
  return tb::to_gbk(g_box_text);
}
// An action that must not raise a box.
template <class F>
void quietly(F&& action) {
  const std::string box = with_box(IDOK, action);
  CHECK_MESSAGE(box.empty(), box);
}

// The real input window: types g_typed into its box and presses its OK button.
std::string g_typed;
void CALLBACK drive_input(HWND, UINT, UINT_PTR id, DWORD) {
  for (tb::Window* w : tb::Window::open_windows()) {
    if (w->def() != &tb::res::kInputWindow) continue;
    KillTimer(nullptr, id);
    w->set_text(tb::res::input_names::kBox, g_typed);
    SendMessageW(w->control(tb::res::input_names::kOk), BM_CLICK, 0, 0);
  }
}

tb::Tree::Node node(CodeManagerWindow* w, const std::string& main, const std::string& sub = {}) {
  tb::Tree t = w->tree();
  tb::Tree::Node m = t.find_child(nullptr, main);
  return sub.empty() || !m ? m : t.find_child(m, sub);
}
void select(CodeManagerWindow* w, const std::string& main, const std::string& sub = {}) {
  tb::Tree::Node nd = node(w, main, sub);
  REQUIRE(nd);
  w->tree().select(nd);
}
std::string view(CodeManagerWindow* w, std::string_view name) { return tb::RichEdit(w->control(name)).text(); }
std::vector<std::string> items(CodeManagerWindow* w, std::string_view list) {
  tb::ListBox l(w->control(list));
  std::vector<std::string> out;
  for (int i = 0; i < l.count(); ++i) out.push_back(l.text_at(i));
  return out;
}
// The window on screen, saved as an artefact.
void shot(CodeManagerWindow* w, const char* file) {
  SetForegroundWindow(w->hwnd());
  pump(200);
  RECT wr;
  GetWindowRect(w->hwnd(), &wr);
  tb::test::save_screen_bmp(wr, tb::test::host_path((std::string(TB_ARTIFACTS) + "/" + file).c_str()));
}
RECT rect_in(HWND h, HWND parent) {
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
// A 24-bit BMP of w x h pixels in one colour.
std::string bmp(int w, int h, COLORREF c) {
  const int stride = (w * 3 + 3) & ~3;
  std::string b(54 + stride * h, '\0');
  auto put32 = [&](int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<std::uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      char* p = &b[54 + y * stride + x * 3];
      p[0] = static_cast<char>(GetBValue(c));
      p[1] = static_cast<char>(GetGValue(c));
      p[2] = static_cast<char>(GetRValue(c));
    }
  return b;
}
const std::string kScript =
    "KeyPress 65,1\r\n"
    "// 注释\r\n"
    "if a = 1 then\r\n"
    "delay 100\r\n"
    "endif\r\n"
    "findpic 0,0,100,100,\"a.bmp\",0.9,x,y\r\n";

}  // namespace

TEST_CASE("the window from its table: controls, texts, tree from disk, and 图形按钮8 opens it once") {
  Root r;
  r.folder("主A\\v1.2");
  r.folder("主A\\片段");
  r.folder("主A\\.svn");
  r.folder(".hidden\\x");
  r.folder("主B");
  r.file("stray.txt", "x");
  r.file("主A\\stray.txt", "x");
  CodeManagerWindow* w = open_on(r, next_name);
  REQUIRE(w);
  CHECK(w->unknown_names().empty());
  wchar_t cap[64] = {};
  GetWindowTextW(w->hwnd(), cap, 64);
  CHECK(std::wstring(cap) == to_wide("Tarvo代码管理器"));
  RECT wr;
  GetWindowRect(w->hwnd(), &wr);
  CHECK(wr.right - wr.left == w->scale(805));
  CHECK(wr.bottom - wr.top == w->scale(526));
  // Every row is a live control at its place in its container (96 DPI in the test prefix).
  for (const tb::ControlDef& d : tb::res::kCodeManagerWindow.controls) {
    CAPTURE(std::string(d.name));
    HWND h = w->control(d.name);
    if (d.kind == tb::Kind::PopupMenu || d.kind == tb::Kind::FileDrop) continue;
    REQUIRE(h);
    RECT c = rect_in(h, GetParent(h));
    CHECK(c.left == w->scale(d.x));
    CHECK(c.top == w->scale(d.y));
    CHECK(c.right - c.left == w->scale(d.w));
    if (d.kind != tb::Kind::Tree && d.kind != tb::Kind::Tab && d.kind != tb::Kind::PictureButton)
      CHECK(w->text(d.name) == d.text);
  }
  CHECK((GetWindowLongPtrW(w->hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0);

  tb::Tree t = w->tree();
  std::vector<std::string> mains;
  for (auto m : t.children(nullptr)) mains.push_back(t.text(m));
  CHECK(mains.size() == 2);
  CHECK(node(w, "主A", "v1.2"));  // the whole folder name, dot and all
  CHECK(t.children(node(w, "主A")).size() == 2);
  CHECK(w->search_names().size() == 2);

  // Topmost on and off, minimise without activation, close.
  w->choose(n::kSettingsMenu, n::kTopmostOn);
  CHECK((GetWindowLongPtrW(w->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
  w->choose(n::kSettingsMenu, n::kTopmostOff);
  CHECK((GetWindowLongPtrW(w->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);
  HWND h = w->hwnd();
  SendMessageW(w->control(n::kMinimise), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(w->control(n::kMinimise), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  pump(50);
  CHECK(IsIconic(h));
  SendMessageW(w->control(n::kClose), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(w->control(n::kClose), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  pump(50);
  CHECK(tb::codemanager::current() == nullptr);
  CHECK_FALSE(IsWindow(h));

  // 图形按钮8 of the main window: one window, a second click brings it forward.
  REQUIRE(tb::shell::open_main_window());
  auto click = [&] {
    tb::test::click_row(*tb::shell::main_window(), "图形按钮8");
    pump(50);
  };
  click();
  CodeManagerWindow* first = tb::codemanager::current();
  REQUIRE(first);
  ShowWindow(first->hwnd(), SW_SHOWMINNOACTIVE);
  click();
  CHECK(tb::codemanager::current() == first);
  CHECK_FALSE(IsIconic(first->hwnd()));
  // Its names come from the input window; the root beside the program is made with the first.
  Root beside;
  CodeManagerWindow* real = open_on(beside, tb::shell::ask_for_text);
  REQUIRE(real);
  g_typed = " 输入的主项目 ";
  SetTimer(nullptr, 0, 50, drive_input);
  quietly([&] { real->choose(n::kTreeMenu, n::kAddMain); });
  CHECK(beside.exists("输入的主项目"));
  CHECK(node(real, "输入的主项目"));
  first = real;
  first->destroy();
  DestroyWindow(tb::shell::main_window()->hwnd());
  pump(20);
}

TEST_CASE("a snippet in both coloured views, its resources and the BMP preview") {
  Root r;
  r.folder("主\\v1.2");
  r.file("主\\v1.2\\v1.2.txt", kScript);
  r.file("主\\v1.2\\v1.txt", "resource");
  r.file("主\\A\\A.TXT", "delay 1\r\n");  // the source for Windows, and listed all the same
  r.file("主\\v1.2\\pic.bmp", bmp(4, 3, RGB(255, 0, 0)));
  r.file("主\\v1.2\\big.BMP", bmp(40, 40, RGB(0, 0, 255)));
  r.folder("主\\v1.2\\below");
  CodeManagerWindow* w = open_on(r);
  REQUIRE(w);
  select(w, "主", "v1.2");
  CHECK(w->text(n::kNameBox) == "v1.2");

  const tb::Translation entries = tb::TranslateForViews(kScript);
  std::string reading, source;
  for (const auto& e : entries) {
    reading += std::string(e.reading) + "\r\n";
    source += std::string(e.source) + "\r\n";
  }
  CHECK(view(w, n::kSourceView) == source);
  CHECK(view(w, n::kReadingView) == reading);
  // Each line in its entry's colour, in 9-point 宋体.
  tb::RichEdit rv(w->control(n::kReadingView)), sv(w->control(n::kSourceView));
  int at_r = 0, at_s = 0;
  for (const auto& e : entries) {
    CHECK(rv.colour_at(at_r) == e.colour);
    CHECK(sv.colour_at(at_s) == e.colour);
    at_r += static_cast<int>(to_wide(e.reading).size()) + 1;
    at_s += static_cast<int>(to_wide(e.source).size()) + 1;
  }
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  SendMessageW(sv.hwnd(), EM_SETSEL, 0, 1);
  SendMessageW(sv.hwnd(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  CHECK(std::wstring(cf.szFaceName) == to_wide("宋体"));
  CHECK(cf.yHeight == 180);
  CHECK((cf.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT)) == 0);

  // Resources: the exact sub + ".txt" is the source, anything else is listed.
  std::vector<std::string> res = items(w, n::kResourceList);
  std::sort(res.begin(), res.end());
  CHECK(res == std::vector<std::string>{"big.BMP", "pic.bmp", "v1.txt"});

  // Preview: ".bmp" at (10,10) of the panel; ".BMP" is not previewed.
  tb::ListBox list(w->control(n::kResourceList));
  tb::Surface s = w->surface(n::kPreview);
  REQUIRE(s.pixels);
  auto px = [&](int x, int y) { return s.pixels[y * s.width + x] & 0xFFFFFF; };
  const std::uint32_t body = px(0, 0);
  list.select(list.find("big.BMP"));
  w->preview();
  CHECK(px(w->scale(10), w->scale(10)) == body);
  list.select(list.find("pic.bmp"));
  w->preview();
  CHECK(px(w->scale(10), w->scale(10)) == 0xFF0000);
  CHECK(px(w->scale(10) + 3, w->scale(10) + 2) == 0xFF0000);
  CHECK(px(w->scale(10) + 4, w->scale(10)) == body);
  CHECK(px(w->scale(10) - 1, w->scale(10)) == body);

  // Screenshots of both views (one page each), the reading view first.
  for (int page : {0, 1, 2}) {
    w->select_page(n::kRightTabs, page);
    shot(w, page == 0 ? "codemanager_reading.bmp" : page == 1 ? "codemanager_source.bmp" : "codemanager_resources.bmp");
  }

  select(w, "主", "A");
  CHECK(items(w, n::kResourceList) == std::vector<std::string>{"A.TXT"});
  CHECK(view(w, n::kSourceView) == "delay 1\r\n");

  // A main item empties both views and the list; the preview stays.
  select(w, "主");
  CHECK(view(w, n::kSourceView).empty());
  CHECK(view(w, n::kReadingView).empty());
  CHECK(items(w, n::kResourceList).empty());
  CHECK(px(w->scale(10), w->scale(10)) == 0xFF0000);
  w->destroy();
}

TEST_CASE("bad input: cut sources, invalid GBK, a huge file and folders gone behind the window's back") {
  Root r;
  r.file("m\\zero\\zero.txt", std::string("delay 1\r\n\0delay 2\r\n", 20));
  r.file("m\\eof\\eof.txt", "delay 5\r\n\x1A" "delay 6\r\n");
  r.file("m\\bad\\bad.txt", "\xFF\xFF\x81\r\ndelay 3\r\n\x80");
  std::string huge;
  while (huge.size() < 10u * 1024 * 1024) huge += "delay 10\r\n";
  r.file("m\\huge\\huge.txt", huge);
  r.folder("m\\gone");
  CodeManagerWindow* w = open_on(r);
  REQUIRE(w);
  select(w, "m", "zero");
  CHECK(view(w, n::kSourceView) == "delay 1\r\n");
  select(w, "m", "eof");
  CHECK(view(w, n::kSourceView) == "delay 5\r\n");
  select(w, "m", "bad");
  CHECK(view(w, n::kSourceView).find("delay 3") != std::string::npos);
  const std::string too_big = "源码文件太大（超过 2 MB），不能显示，也不能在这里保存。";
  CHECK(with_box(IDOK, [&] { select(w, "m", "huge"); }) == too_big);
  CHECK(view(w, n::kSourceView).empty());
  CHECK(with_box(IDOK, [&] { w->save(); }) == too_big);
  CHECK(r.read("m\\huge\\huge.txt") == huge);

  tb::fs::remove_tree(r.at("m\\gone"));
  select(w, "m", "gone");
  CHECK(view(w, n::kSourceView).empty());
  CHECK(items(w, n::kResourceList).empty());
  // Saving into a folder that is gone says so and creates nothing.
  CHECK(with_box(IDOK, [&] { w->save(); }) == "保存失败，原来的源码文件没有改动。");
  CHECK_FALSE(r.exists("m\\gone"));
  w->destroy();
}

TEST_CASE("save, rename, add and delete: names checked, duplicates refused, failures told") {
  Root r;
  r.folder("主\\甲");
  r.file("主\\甲\\甲.txt", kScript);
  r.folder("主\\乙");
  CodeManagerWindow* w = open_on(r, next_name);
  REQUIRE(w);

  // Half-written lines the translator reads nothing from stay in both views and are saved.
  const std::string half = "Delay 10\r\nKeyPress 65\r\nFindPic 0,0,100,100,\"a.bmp\",0.9\r\nFor i = 1 Step 2\r\nDelay 20\r\n";
  r.file("主\\甲\\甲.txt", half);
  select(w, "主", "甲");
  CHECK(view(w, n::kSourceView) == tb::FormatScript(half));
  CHECK(view(w, n::kReadingView) ==
        "延时 10 毫秒\r\nkeypress 65\r\nfindpic 0,0,100,100,\"a.bmp\",0.9\r\nfor i = 1 step 2\r\n    延时 20 毫秒\r\n");
  quietly([&] { w->save(); });
  CHECK(r.read("主\\甲\\甲.txt") == tb::FormatScript(half));

  // Save writes what the source view holds, through a temporary file.
  tb::RichEdit(w->control(n::kSourceView)).set_text("delay 1\r\n");
  CHECK(with_box(IDOK, [&] { w->save(); }).empty());
  CHECK(r.read("主\\甲\\甲.txt") == "delay 1\r\n");
  // A source the disk will not replace (a folder holds its name): told, nothing lost.
  r.folder("主\\乙\\乙.txt");
  select(w, "主", "乙");
  CHECK(with_box(IDOK, [&] { w->save(); }) == "保存失败，原来的源码文件没有改动。");
  CHECK(tb::fs::is_folder(r.at("主\\乙\\乙.txt")));

  // Rename: refused names and duplicates change nothing.
  select(w, "主", "甲");
  const std::string bad = "名称无效：不能为空，不能以 . 结尾，也不能含有 \\ / : * ? \" < > | 这些字符。";
  for (const char* name : {"..\\out", "a/b", "  ", "x.", "a|b"}) {
    CAPTURE(name);
    w->set_text(n::kNameBox, name);
    CHECK(with_box(IDOK, [&] { w->rename(); }) == bad);
    CHECK(node(w, "主", "甲"));
  }
  w->set_text(n::kNameBox, "乙");
  CHECK(with_box(IDOK, [&] { w->rename(); }) == "同一级下已有这个名称，请换一个名称。");
  CHECK(r.read("主\\甲\\甲.txt") == "delay 1\r\n");
  CHECK_FALSE(tb::fs::exists(r.base + "\\out"));

  // A name with a GBK trail byte 0x5C ("俓") is one character, not a path.
  w->set_text(n::kNameBox, " 俓表 ");
  quietly([&] { w->rename(); });
  CHECK(node(w, "主", "俓表"));
  CHECK(r.read("主\\俓表\\俓表.txt") == "delay 1\r\n");
  CHECK_FALSE(r.exists("主\\甲"));
  // The search list follows: the new name is found, the old one is not.
  w->set_text(n::kSearchBox, "x");
  w->set_text(n::kSearchBox, "");  // an empty search lists every snippet
  CHECK(items(w, n::kSearchList) == w->search_names());  // the tree's order, as the disk gave it
  std::vector<std::string> found = items(w, n::kSearchList);
  std::sort(found.begin(), found.end());
  CHECK(found == std::vector<std::string>{"俓表", "乙"});  // byte order

  // The disk refuses (the folder went behind the window's back): the tree keeps the name.
  tb::fs::remove_tree(r.at("主\\乙"));
  select(w, "主", "乙");
  w->set_text(n::kNameBox, "丙");
  CHECK(with_box(IDOK, [&] { w->rename(); }) == "改名失败，文件夹没有改动。");
  CHECK(node(w, "主", "乙"));
  CHECK_FALSE(r.exists("主\\丙"));

  // Add: trimmed, checked at its level, made on disk.
  g_names = {" 新主 ", "主", "..", "", " 　", "", "v1.2", "v1.2"};
  quietly([&] { w->choose(n::kTreeMenu, n::kAddMain); });
  CHECK(tb::fs::is_folder(r.at("新主")));
  CHECK(node(w, "新主"));
  CHECK(with_box(IDOK, [&] { w->choose(n::kTreeMenu, n::kAddMain); }) == "同一级下已有这个名称，请换一个名称。");
  CHECK(with_box(IDOK, [&] { w->choose(n::kTreeMenu, n::kAddMain); }) == bad);
  // An empty or blank name is the user changing their mind: no word, nothing made.
  quietly([&] { w->choose(n::kTreeMenu, n::kAddMain); });
  quietly([&] { w->choose(n::kTreeMenu, n::kAddMain); });
  CHECK(w->tree().children(nullptr).size() == 2);
  select(w, "新主");
  quietly([&] { w->choose(n::kTreeMenu, n::kAddSnippet); });
  CHECK(w->tree().children(node(w, "新主")).empty());
  quietly([&] { w->choose(n::kTreeMenu, n::kAddSnippet); });
  CHECK(node(w, "新主", "v1.2"));
  CHECK(with_box(IDOK, [&] { w->choose(n::kTreeMenu, n::kAddSnippet); }) == "同一级下已有这个名称，请换一个名称。");
  // A snippet with a dot opens and saves as its whole name.
  select(w, "新主", "v1.2");
  tb::RichEdit(w->control(n::kSourceView)).set_text("delay 9\r\n");
  quietly([&] { w->save(); });
  CHECK(r.read("新主\\v1.2\\v1.2.txt") == "delay 9\r\n");
  select(w, "新主");
  select(w, "新主", "v1.2");
  CHECK(view(w, n::kSourceView) == "delay 9\r\n");
  w->set_text(n::kSearchBox, "V1");
  CHECK(items(w, n::kSearchList) == std::vector<std::string>{"v1.2"});

  // Delete: Cancel keeps, OK removes from disk, tree and search.
  CHECK(with_box(IDCANCEL, [&] { w->choose(n::kTreeMenu, n::kDeleteSnippet); }) ==
        "你确定删除 v1.2 吗？请慎重选择，删除将无法恢复!");
  CHECK(r.exists("新主\\v1.2"));
  quietly([&] { w->choose(n::kTreeMenu, n::kDeleteMain); });  // a snippet is selected: nothing
  CHECK(node(w, "新主"));
  with_box(IDOK, [&] { w->choose(n::kTreeMenu, n::kDeleteSnippet); });
  CHECK_FALSE(r.exists("新主\\v1.2"));
  CHECK_FALSE(node(w, "新主", "v1.2"));
  CHECK(items(w, n::kSearchList).empty());
  // A folder the disk will not delete (a file in it is held open) stays in the tree.
  select(w, "主", "俓表");
  tb::UniqueHandle held(CreateFileW(to_wide(r.at("主\\俓表\\俓表.txt")).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  REQUIRE(held);
  w->set_text(n::kSearchBox, "");
  select(w, "主");
  with_box(IDOK, [&] { w->choose(n::kTreeMenu, n::kDeleteMain); });
  CHECK(g_box_text == to_wide("删除失败，文件夹仍然存在。"));
  CHECK(node(w, "主", "俓表"));
  held.reset();
  with_box(IDOK, [&] { w->choose(n::kTreeMenu, n::kDeleteMain); });
  CHECK_FALSE(r.exists("主"));
  CHECK_FALSE(node(w, "主"));
  CHECK(items(w, n::kSearchList).empty());
  w->destroy();
}

TEST_CASE("resources: import by dropping, delete, export, and the source copied to the clipboard") {
  Root r;
  r.folder("m\\s");
  r.file("m\\s\\s.txt", kScript);
  r.folder("m\\t");
  const std::string a = r.base + "\\图.bmp", b = r.base + "\\说明.txt";
  tb::write_file_atomic(a, bmp(2, 2, RGB(0, 255, 0)));
  tb::write_file_atomic(b, "readme");
  CodeManagerWindow* w = open_on(r);
  REQUIRE(w);

  // Without a snippet selected a drop is refused and copies nothing.
  select(w, "m");
  CHECK(with_box(IDOK, [&] { tb::test::send_drop(w->hwnd(), {a}); }) == "请先选择目录后，再拖入资源");
  select(w, "m", "s");
  tb::test::send_drop(w->hwnd(), {a, b});
  CHECK(r.read("m\\s\\图.bmp") == bmp(2, 2, RGB(0, 255, 0)));
  CHECK(r.read("m\\s\\说明.txt") == "readme");
  CHECK(items(w, n::kResourceList).size() == 2);

  tb::ListBox list(w->control(n::kResourceList));
  list.select(list.find("说明.txt"));
  w->export_resource_to(r.base + "\\out.txt");
  std::string out;
  CHECK((tb::read_file(r.base + "\\out.txt", out) && out == "readme"));
  const std::string folder = r.base + "\\导出";
  tb::snippets::make_folders(folder);
  w->export_all_to(folder);
  CHECK(tb::fs::exists(folder + "\\图.bmp"));
  CHECK(tb::fs::exists(folder + "\\说明.txt"));

  list.select(list.find("说明.txt"));
  w->choose(n::kResourceMenu, n::kDeleteResource);
  CHECK_FALSE(r.exists("m\\s\\说明.txt"));
  CHECK(items(w, n::kResourceList) == std::vector<std::string>{"图.bmp"});

  // Both 复制源码 buttons copy the source view, as Unicode text.
  for (std::string_view button : {n::kCopyReadingButton, n::kCopySourceButton}) {
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    SendMessageW(w->control(button), BM_CLICK, 0, 0);
    pump(20);
    std::wstring got;
    if (OpenClipboard(nullptr)) {
      if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        got = static_cast<const wchar_t*>(GlobalLock(h));
        GlobalUnlock(h);
      }
      CloseClipboard();
    }
    CHECK(got == to_wide(view(w, n::kSourceView)));
    CHECK(got.find(L"KeyPress") != std::wstring::npos);
  }
  w->destroy();
}

namespace {
void double_click_row(HWND list, int row) {  // a row of the result list, as the mouse does it
  RECT rc{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc));
  const LPARAM at = MAKELPARAM(rc.left + 4, rc.top + 4);
  for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    SendMessageW(list, m, m == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
}
std::string opened(CodeManagerWindow* w) {  // the snippet the tree shows, as main\sub
  tb::Tree t = w->tree();
  return t.text(t.parent(t.selected())) + "\\" + t.text(t.selected());
}
}  // namespace

TEST_CASE("search by content: name hits, then main\\name : line; a double-click or Enter opens the one found") {
  Root r;
  r.file("甲\\蓝色\\蓝色.txt", "Delay 1\r\n");
  r.file("乙\\蓝色\\蓝色.txt", "// 蓝色\r\n");  // a name hit, not listed again for its source
  r.file("甲\\按钮\\按钮.txt", "Delay 1\r\nKeyPress 65\r\n  // 点击蓝色按钮\r\n");
  r.file("乙\\按钮\\按钮.txt", "LeftClick 1 // 蓝色\r\n");
  r.file("丙\\难字\\难字.txt", "// 道渡獲\r\n");  // B5C0 B6C9 AB40 holds 蓝色's bytes across characters
  CodeManagerWindow* w = open_on(r);
  REQUIRE(w);
  w->select_page(n::kLeftTabs, 1);
  w->set_text(n::kSearchBox, "蓝色");
  REQUIRE(tb::test::wait_until([&] { return !w->searching(); }));
  std::vector<std::string> rows = items(w, n::kSearchList);
  REQUIRE(rows.size() == 4);
  std::sort(rows.begin() + 2, rows.end());  // the content hits in the tree's order; GBK: 甲 before 乙
  CHECK(rows == std::vector<std::string>{"蓝色", "蓝色", "甲\\按钮 : 3", "乙\\按钮 : 1"});
  shot(w, "codemanager_search.bmp");

  // Each row opens its own snippet in both views; the two name hits are the two mains' 蓝色.
  tb::ListBox list(w->control(n::kSearchList));
  std::set<std::string> named;
  for (int i = 0; i < 4; ++i) {
    double_click_row(list.hwnd(), i);
    CHECK(w->selected_page(n::kLeftTabs) == 0);
    const std::string at = opened(w);
    CHECK(view(w, n::kSourceView) == tb::FormatScript(r.read(at + at.substr(at.find('\\')) + ".txt")));
    if (i < 2) named.insert(at);
    else CHECK(list.text_at(i).substr(0, list.text_at(i).find(" : ")) == at);
  }
  CHECK(named == std::set<std::string>{"甲\\蓝色", "乙\\蓝色"});
  // A content hit shows the source view with its first match selected; Enter opens as well.
  list.select(list.find("甲\\按钮 : 3"));
  SendMessageW(list.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  CHECK(opened(w) == "甲\\按钮");
  wchar_t sel[16] = {};
  SendMessageW(w->control(n::kSourceView), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(sel));
  CHECK(tb::to_gbk(sel) == "蓝色");
  w->destroy();
}

namespace {
// The next menu's first entry and the items it opens are kept; the last of them is chosen with
// the keys a user presses (Up wraps round to it).
std::vector<std::string> g_menu;
void CALLBACK choose_last_in_group(HWND, UINT, UINT_PTR id, DWORD) {
  HWND top = FindWindowW(L"#32768", nullptr);
  if (!top || !IsWindowVisible(top)) return;
  KillTimer(nullptr, id);
  const auto m = reinterpret_cast<HMENU>(SendMessageW(top, MN_GETHMENU, 0, 0));
  wchar_t t[64] = {};
  for (int i = -1; i < GetMenuItemCount(GetSubMenu(m, 0)); ++i) {
    GetMenuStringW(i < 0 ? m : GetSubMenu(m, 0), static_cast<UINT>(i < 0 ? 0 : i), t, 64, MF_BYPOSITION);
    g_menu.push_back(tb::to_gbk(t));
  }
  for (WORD k : {VK_DOWN, VK_RIGHT, VK_UP, VK_RETURN}) tb::test::send_keys({k});
}
void right_click_source(CodeManagerWindow* w) {
  g_menu.clear();
  SetTimer(nullptr, 0, 50, choose_last_in_group);
  SendMessageW(w->control(n::kSourceView), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
  pump(100);
}
}  // namespace

TEST_CASE("every save keeps the version it replaces; the source view's menu puts the oldest back") {
  Root r;
  const std::string original = "Delay 1\r\n\r\n  KeyPress 65\r\n";  // by hand: blank line, own indent
  r.file("m\\s\\s.txt", original);
  CodeManagerWindow* w = open_on(r);
  REQUIRE(w);
  select(w, "m", "s");
  for (const char* text : {"Delay 2\r\n", "Delay 3\r\n", "Delay 4\r\n"}) {
    tb::RichEdit(w->control(n::kSourceView)).set_text(text);
    quietly([&] { w->save(); });
  }
  w->select_page(n::kRightTabs, 1);
  right_click_source(w);
  REQUIRE(g_menu.size() == 4);
  CHECK(g_menu[0] == "历史版本");
  CHECK(g_menu[3].size() == 19);  // 2024-01-31 23:59:59
  CHECK(view(w, n::kSourceView) == original);
  CHECK(r.read("m\\s\\s.txt") == "Delay 4\r\n");  // the disk changes with a save only
  quietly([&] { w->save(); });
  CHECK(r.read("m\\s\\s.txt") == original);
  w->destroy();
}
