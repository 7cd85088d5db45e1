// The typed control wrappers over real controls: tree, rich edit, list box.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "base/encoding.h"
#include "platform/listbox.h"
#include "platform/richedit.h"
#include "platform/tree.h"

using namespace tb;

namespace {

// One plain top-level window holding the three controls, shared by every case.
struct Ui {
  HMODULE rich_dll;
  HWND top, tree, rich, list;
  Ui() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    rich_dll = LoadLibraryW(L"Msftedit.dll");
    const wchar_t* rich_class = rich_dll ? MSFTEDIT_CLASS : L"RichEdit20W";
    if (!rich_dll) rich_dll = LoadLibraryW(L"riched20.dll");
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"tb_test_controls";
    RegisterClassW(&wc);
    top = CreateWindowExW(0, wc.lpszClassName, L"controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                          nullptr, wc.hInstance, nullptr);
    auto child = [&](const wchar_t* cls, DWORD style, int x) {
      return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, 0, 200, 400, top, nullptr, wc.hInstance,
                             nullptr);
    };
    tree = child(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_EDITLABELS, 0);
    rich = child(rich_class, ES_MULTILINE | WS_VSCROLL, 210);  // wraps: line_count must not count wraps
    list = child(L"LISTBOX", LBS_NOTIFY, 420);
  }
  ~Ui() {
    DestroyWindow(top);
    if (rich_dll) FreeLibrary(rich_dll);
  }
};

Ui& ui() {
  static Ui u;
  REQUIRE(u.tree);
  REQUIRE(u.rich);
  REQUIRE(u.list);
  return u;
}

std::string join(const std::vector<RichLine>& lines) {
  std::string s;
  for (std::size_t i = 0; i < lines.size(); ++i) s += (i ? "\r\n" : "") + lines[i].text;
  return s;
}

int wide_len(const std::string& gbk) { return static_cast<int>(to_wide(gbk).size()); }

// Counts the messages a control receives, to prove content goes in with one stream.
WNDPROC g_rich_proc;
int g_messages, g_streams;  // EM_ messages, EM_STREAMIN
LRESULT CALLBACK counting_proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m >= WM_USER) ++g_messages;  // not the repaint and scroll bar messages
  if (m == EM_STREAMIN) ++g_streams;
  return CallWindowProcW(g_rich_proc, h, m, wp, lp);
}

}  // namespace

TEST_CASE("tree: nodes in order, text, data, rename, find, select, expand, delete") {
  Tree t(ui().tree);
  t.clear();
  auto a = t.add(nullptr, "甲组", 7);
  auto b = t.add(nullptr, "{乙} \\ 组");
  const std::string long_name(700, 'x');
  auto c1 = t.add(a, "脚本一", static_cast<std::intptr_t>(-2));
  auto c2 = t.add(a, "脚本二", INTPTR_MAX);
  auto c3 = t.add(a, long_name);
  CHECK(t.children(nullptr) == std::vector<Tree::Node>{a, b});
  CHECK(t.children(a) == std::vector<Tree::Node>{c1, c2, c3});
  CHECK(t.children(c1).empty());
  CHECK(t.text(b) == "{乙} \\ 组");
  CHECK(t.text(c3) == long_name);  // longer than one read buffer
  CHECK(t.data(a) == 7);
  CHECK(t.data(b) == 0);
  CHECK(t.data(c1) == -2);
  CHECK(t.data(c2) == INTPTR_MAX);
  CHECK(t.parent(c2) == a);
  CHECK(t.parent(a) == nullptr);
  CHECK(t.find_child(a, "脚本二") == c2);
  CHECK(t.find_child(a, "脚本") == nullptr);
  CHECK(t.find_child(nullptr, "{乙} \\ 组") == b);

  t.rename(c1, "改名后");
  CHECK(t.text(c1) == "改名后");
  CHECK(t.find_child(a, "脚本一") == nullptr);

  t.select(c2);
  CHECK(t.selected() == c2);
  t.expand(a);
  CHECK((TreeView_GetItemState(t.hwnd(), a, TVIS_EXPANDED) & TVIS_EXPANDED) != 0);
  t.expand(a, false);
  CHECK((TreeView_GetItemState(t.hwnd(), a, TVIS_EXPANDED) & TVIS_EXPANDED) == 0);

  t.remove(c2);
  CHECK(t.children(a) == std::vector<Tree::Node>{c1, c3});
  t.clear();
  CHECK(t.children(nullptr).empty());
}

TEST_CASE("tree: the end-label-edit helper") {
  wchar_t accepted[] = L"新名字{}";
  wchar_t empty[] = L"";
  struct Row {
    wchar_t* text;
    bool has;
    std::string want;
  } rows[] = {{nullptr, false, ""}, {accepted, true, "新名字{}"}, {empty, true, ""}};
  for (const Row& r : rows) {
    NMTVDISPINFOW info{};
    info.hdr.code = TVN_ENDLABELEDITW;
    info.item.pszText = r.text;
    auto got = edited_label(&info);
    REQUIRE(got.has_value() == r.has);
    if (r.has) CHECK(*got == r.want);
  }
  CHECK_FALSE(edited_label(nullptr).has_value());
}

TEST_CASE("rich edit: coloured lines in one stream, read back with CRLF") {
  RichEdit e(ui().rich);
  const std::vector<RichLine> lines{
      {"红色：{脚本} 按键", RGB(255, 0, 0)},
      {"绿色 \\par 不是控制字", RGB(0, 160, 0)},
      {"}{ 蓝色\t末行 123", RGB(0, 0, 255)},
  };
  e.set_lines(lines);
  CHECK(e.text() == join(lines));
  CHECK(e.line_count() == 3);
  int at = 0;
  for (const RichLine& l : lines) {  // first and last character of every line
    CHECK(e.colour_at(at) == l.colour);
    CHECK(e.colour_at(at + wide_len(l.text) - 1) == l.colour);
    at += wide_len(l.text) + 1;
  }

  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE;
  SendMessageW(e.hwnd(), EM_SETSEL, 0, 1);
  SendMessageW(e.hwnd(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  CHECK(std::wstring(cf.szFaceName) == to_wide("宋体"));
  CHECK(cf.yHeight == 9 * 20);
  e.set_lines(lines, 12);
  SendMessageW(e.hwnd(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  CHECK(cf.yHeight == 12 * 20);
}

TEST_CASE("rich edit: 10,000 lines go in with one message, beyond the default limit") {
  RichEdit e(ui().rich);
  std::vector<RichLine> lines;
  const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 0, 200), RGB(10, 20, 30)};
  for (int i = 0; i < 10000; ++i) lines.push_back({"第" + std::to_string(i) + "行：调用 按键 {x}", colours[i % 3]});
  g_rich_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(e.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_proc)));
  g_messages = g_streams = 0;
  e.set_lines(lines);
  SetWindowLongPtrW(e.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_rich_proc));
  CHECK(g_streams == 1);
  CHECK(g_messages <= 4);  // limit check and raise, the stream, the face
  CHECK(e.line_count() == 10000);
  const std::string text = e.text();
  CHECK(text.size() == join(lines).size());
  CHECK(text == join(lines));
  int last = static_cast<int>(to_wide(text).size()) - wide_len(lines.back().text) - 9999;  // one unit per break
  CHECK(e.colour_at(last) == lines.back().colour);
}

TEST_CASE("rich edit: plain text is never read as RTF; clear") {
  RichEdit e(ui().rich);
  struct Row {
    const char* text;
    int lines;
  } rows[] = {{"{\\rtf1 不是 RTF}", 1}, {"甲\r\n乙\r\n", 3}, {"中文\\{}", 1}, {"", 1}};
  for (const Row& r : rows) {
    CAPTURE(r.text);
    e.set_text(r.text);
    CHECK(e.text() == r.text);
    CHECK(e.line_count() == r.lines);
  }
  e.set_text("x");
  e.clear();
  CHECK(e.text().empty());
}

TEST_CASE("list box: add, insert, remove, selection, exact find") {
  ListBox l(ui().list);
  l.clear();
  CHECK(l.add("甲") == 0);
  CHECK(l.add("ABC") == 1);
  CHECK(l.add("abc") == 2);
  CHECK(l.insert_at(1, "插入{}") == 1);
  CHECK(l.count() == 4);
  CHECK(l.text_at(1) == "插入{}");
  CHECK(l.text_at(9) == "");
  struct Row {
    const char* text;
    int index;
  } finds[] = {{"甲", 0}, {"ABC", 2}, {"abc", 3}, {"Abc", -1}, {"ab", -1}, {"插入{}", 1}};
  for (const Row& r : finds) CHECK_MESSAGE(l.find(r.text) == r.index, r.text);

  CHECK(l.selection() == -1);
  l.select(3);
  CHECK(l.selection() == 3);
  l.select(-1);
  CHECK(l.selection() == -1);
  l.remove_at(0);
  CHECK(l.text_at(0) == "插入{}");
  CHECK(l.find("abc") == 2);
  l.clear();
  CHECK(l.count() == 0);
  CHECK(l.find("abc") == -1);
}
