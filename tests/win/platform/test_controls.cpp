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

// One plain top-level window with the three controls, shared by every case.
struct Ui {
  HMODULE dll = LoadLibraryW(L"Msftedit.dll");
  const wchar_t* rich_class = dll ? MSFTEDIT_CLASS : L"RichEdit20W";
  HWND top, tree, rich, list;
  Ui() {
    if (!dll) dll = LoadLibraryW(L"riched20.dll");
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc{0, DefWindowProcW, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"tb_controls"};
    RegisterClassW(&wc);
    top = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, 0, 0, 0, 0);
    tree = child(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_EDITLABELS);
    rich = child(rich_class, ES_MULTILINE);  // wraps: line_count() must not count wrapped rows
    list = child(L"LISTBOX", 0);
  }
  ~Ui() {
    DestroyWindow(top);
    if (dll) FreeLibrary(dll);
  }
  HWND child(const wchar_t* cls, DWORD style) const {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 300, top, 0, 0, 0);
  }
};

Ui& ui() {
  static Ui u;
  REQUIRE((u.tree && u.rich && u.list));
  return u;
}

std::string join(const std::vector<RichLine>& lines) {
  std::string s;
  for (std::size_t i = 0; i < lines.size(); ++i) s += (i ? "\r\n" : "") + lines[i].text;
  return s;
}
int wide_len(const std::string& gbk) { return static_cast<int>(to_wide(gbk).size()); }

// Counts the EM_ messages a rich edit receives, to prove content goes in with one stream.
WNDPROC g_rich_proc;
int g_messages, g_streams;
LRESULT CALLBACK counting_proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  g_messages += m >= WM_USER;
  g_streams += m == EM_STREAMIN;
  return CallWindowProcW(g_rich_proc, h, m, wp, lp);
}

}  // namespace

TEST_CASE("tree: nodes in order with text and data; rename, find, select, delete") {
  Tree t(ui().tree);
  t.clear();
  const std::string long_name(700, 'x');  // longer than one read buffer
  auto a = t.add(nullptr, "甲组", 7), b = t.add(nullptr, "{乙} \\ 组");
  auto c1 = t.add(a, "脚本一", -2), c2 = t.add(a, "脚本二", INTPTR_MAX), c3 = t.add(a, long_name);
  CHECK(t.children(nullptr) == std::vector<Tree::Node>{a, b});
  CHECK(t.children(a) == std::vector<Tree::Node>{c1, c2, c3});
  CHECK((t.text(b) == "{乙} \\ 组" && t.text(c3) == long_name));
  CHECK((t.data(a) == 7 && t.data(b) == 0 && t.data(c1) == -2 && t.data(c2) == INTPTR_MAX));
  CHECK((t.parent(c2) == a && t.parent(a) == nullptr));
  CHECK((t.find_child(a, "脚本二") == c2 && t.find_child(a, "脚本") == nullptr));
  CHECK(t.find_child(nullptr, "{乙} \\ 组") == b);

  t.rename(c1, "改名后");
  CHECK((t.text(c1) == "改名后" && t.find_child(a, "脚本一") == nullptr));
  t.select(c2);
  CHECK(t.selected() == c2);
  t.expand(a);
  CHECK((TreeView_GetItemState(t.hwnd(), a, TVIS_EXPANDED) & TVIS_EXPANDED) != 0);
  t.remove(c2);
  CHECK(t.children(a) == std::vector<Tree::Node>{c1, c3});
  t.clear();
  CHECK(t.children(nullptr).empty());
}

TEST_CASE("tree: the new label of an end-label-edit, none when cancelled") {
  auto label = [](const wchar_t* s) {
    NMTVDISPINFOW info{};
    info.item.pszText = const_cast<wchar_t*>(s);
    return edited_label(&info);
  };
  CHECK_FALSE(label(nullptr).has_value());
  CHECK(label(L"新名字{}") == "新名字{}");
  CHECK(label(L"") == "");  // accepted, empty
}

TEST_CASE("rich edit: one colour per line in 宋体, read back with CRLF") {
  RichEdit e(ui().rich);
  const std::vector<RichLine> lines{
      {"红色：{脚本} 按键", RGB(255, 0, 0)}, {"绿色 \\par 不是控制字", RGB(0, 160, 0)}, {"}{ 蓝色\t末行 123", RGB(0, 0, 255)}};
  auto format = [&] {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    SendMessageW(e.hwnd(), EM_SETSEL, 0, 1);
    SendMessageW(e.hwnd(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf;
  };
  e.set_lines(lines);
  CHECK(e.text() == join(lines));
  CHECK(e.line_count() == 3);
  for (int i = 0, at = 0; i < 3; at += wide_len(lines[i++].text) + 1) {  // one unit per line break
    CHECK(e.colour_at(at) == lines[i].colour);
    CHECK(e.colour_at(at + wide_len(lines[i].text) - 1) == lines[i].colour);
  }
  CHECK(std::wstring(format().szFaceName) == to_wide("宋体"));
  CHECK(format().yHeight == 9 * 20);
  e.set_lines(lines, 12);
  CHECK(format().yHeight == 12 * 20);
}

TEST_CASE("rich edit: 10,000 lines go in with one stream") {
  // A control of its own: Wine takes half a minute to delete 10,000 paragraphs again.
  struct Own {
    HWND h = ui().child(ui().rich_class, ES_MULTILINE);
    ~Own() { DestroyWindow(h); }
  } own;
  RichEdit e(own.h);
  std::vector<RichLine> lines;
  const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 0, 200), RGB(10, 20, 30)};
  for (int i = 0; i < 10000; ++i) lines.push_back({"第" + std::to_string(i) + "行：调用 按键 {x}", colours[i % 3]});
  g_rich_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(e.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_proc)));
  e.set_lines(lines);
  SetWindowLongPtrW(e.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_rich_proc));
  CHECK(g_streams == 1);
  CHECK(g_messages <= 4);  // limit check and raise, the stream, the face
  CHECK(e.line_count() == 10000);
  const std::string text = e.text();
  CHECK(text == join(lines));
  int last = static_cast<int>(to_wide(text).size()) - wide_len(lines.back().text) - 9999;
  CHECK(e.colour_at(last) == lines.back().colour);
}

TEST_CASE("rich edit: plain text is never read as RTF; clear") {
  RichEdit e(ui().rich);
  const std::pair<const char*, int> rows[] = {{"{\\rtf1 不是 RTF}", 1}, {"甲\r\n乙\r\n", 3}, {"中文\\{}", 1}, {"", 1}};
  for (auto [text, lines] : rows) {
    CAPTURE(text);
    e.set_text(text);
    CHECK(e.text() == text);
    CHECK(e.line_count() == lines);
  }
  e.set_text("x");
  e.clear();
  CHECK(e.text().empty());
}

TEST_CASE("list box: add, insert, remove, selection, case-exact find") {
  ListBox l(ui().list);
  l.clear();
  CHECK((l.add("甲") == 0 && l.add("ABC") == 1 && l.add("abc") == 2));
  CHECK(l.insert_at(1, "插入{}") == 1);
  CHECK((l.count() == 4 && l.text_at(1) == "插入{}" && l.text_at(9) == ""));
  const std::pair<const char*, int> finds[] = {{"甲", 0}, {"ABC", 2}, {"abc", 3}, {"Abc", -1}, {"ab", -1}};
  for (auto [text, index] : finds) CHECK_MESSAGE(l.find(text) == index, std::string(text));
  CHECK(l.selection() == -1);
  l.select(3);
  CHECK(l.selection() == 3);
  l.select(-1);
  CHECK(l.selection() == -1);
  l.remove_at(0);
  CHECK((l.text_at(0) == "插入{}" && l.find("abc") == 2));
  l.clear();
  CHECK((l.count() == 0 && l.find("abc") == -1));
}
