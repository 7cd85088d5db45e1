// The launcher in the real main window: set.ini beside the program loaded into the list, the
// icons, and the menu popup with its windows changing the list and the file.
#include <windows.h>

#include <doctest/doctest.h>

#include <deque>
#include <functional>

#include "app/launcher_icons_win.h"
#include "app/launcher_win.h"
#include "app/shell.h"
#include "base/encoding.h"
#include "base/fileio.h"
#include "base/ini.h"
#include "platform/registry_win.h"
#include "resources/launcher_windows.h"
#include "resources/shell_windows.h"
#include "tests/support/win_test_util.h"

using namespace tb;
using namespace tb::shell;
using tb::test::pump;
using tb::test::wait_until;

namespace {

const std::string kSetIni =
    "[1]\r\nfl=常用工具\r\nname=记事本\r\npath=C:\\windows\\system32\\notepad.exe\r\nhelp=\r\n"
    "[2]\r\nfl=网址\r\nname=按键论坛\r\npath=http://bbs.anjian.com\r\nhelp=论坛首页\r\n"
    "[4]\r\nfl=常用工具\r\nname=系统目录\r\npath=C:\\windows\\system32\r\nhelp=\r\n"
    "[3]\r\nfl=网址\r\nname=没有路径\r\npath=\r\nhelp=空\r\n";

grouplist::GroupList& list() { return launcher().list(); }

MainWindow& main_win() {
  static bool started = [] {
    write_file_atomic(program_dir() + "set.ini", kSetIni);
    remove_file(program_dir() + "配置信息.ini");
    init_framework(GetModuleHandleW(nullptr));
    // The launcher is made once the window's first paint is done.
    return open_main_window() && test::wait_until([] { return launcher().created(); });
  }();
  REQUIRE(started);
  return *main_window();
}

// Rows as "name" for groups in brackets, items plain.
std::vector<std::string> shown() {
  list().ExpandAll();
  std::vector<std::string> out;
  for (int r = 0; list().GetHandleAt(r) >= 1; ++r) {
    grouplist::ElementRecord e;
    list().ReadElement(list().GetHandleAt(r), e);
    out.push_back(e.kind == "分组" ? "[" + e.name + "]" : e.name);
  }
  return out;
}

std::string set_ini() {
  std::string s;
  read_file(program_dir() + "set.ini", s);
  return s;
}

// Steps run one after another from a timer while a modal window runs; a step returns true
// when it has done its part. A step that opens a modal box of its own returns only when the
// box is gone, so the next steps run from inside it.
std::deque<std::function<bool()>> g_steps;
void CALLBACK run_steps(HWND, UINT, UINT_PTR id, DWORD) {
  while (!g_steps.empty()) {
    auto step = std::move(g_steps.front());
    g_steps.pop_front();
    if (!step()) {
      g_steps.push_front(std::move(step));
      break;
    }
  }
  if (g_steps.empty()) KillTimer(nullptr, id);
}

HWND popup_of(const WindowDef& def) {
  for (Window* w : Window::open_windows())
    if (w->def() == &def) return w->hwnd();
  return nullptr;
}

// Clicks a picture button or a button of the open window made from `def`.
std::function<bool()> click(const WindowDef& def, std::string_view name) {
  return [&def, name] {
    HWND h = popup_of(def);
    if (!h) return false;
    HWND c = Window::from(h)->control(name);
    if (find_control(def, name)->kind == Kind::Button) SendMessageW(c, BM_CLICK, 0, 0);
    else test::send_click(c);
    return true;
  };
}
std::function<bool()> type(const WindowDef& def, std::string_view name, std::string text) {
  return [&def, name, text] {
    HWND h = popup_of(def);
    if (!h) return false;
    Window::from(h)->set_text(name, text);
    return true;
  };
}
// Saves a screenshot of the open window made from `def` (the menu and its windows included).
std::function<bool()> shot(const WindowDef& def, const char* file) {
  return [&def, file] {
    HWND h = popup_of(def);
    if (!h) return false;
    // Painted now, without pumping: pumping would run the next steps from inside this one.
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r;
    GetWindowRect(h, &r);
    if (&def == &res::kItemDialog) {  // with the menu beside it
      RECT m;
      HWND menu = popup_of(res::kLauncherMenu);
      RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      GetWindowRect(menu, &m);
      UnionRect(&r, &r, &m);
    }
    // Wine copies painted windows to the screen when the thread next looks at its queue;
    // a look that takes nothing runs no step.
    MSG peek;
    PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD);
    CHECK(test::save_screen_bmp(r, test::host_path((std::string(TB_ARTIFACTS) + "/" + file).c_str())));
    return true;
  };
}

// Answers the next message box titled `title` with `button`, noting its text.
std::string g_box_text;
std::function<bool()> answer(const char* title, UINT button) {
  return [title, button] {
    HWND box = FindWindowW(L"#32770", to_wide(title).c_str());
    if (!box) return false;
    wchar_t t[256] = {};
    GetDlgItemTextW(box, 0xFFFF, t, 256);
    g_box_text = to_gbk(t);
    PostMessageW(box, WM_COMMAND, button, 0);
    return true;
  };
}

// Done once `ms` have passed since the step first ran: lets a window handle what just happened.
std::function<bool()> after(DWORD ms) {
  return [ms, start = DWORD{0}]() mutable {
    if (!start) start = GetTickCount();
    return GetTickCount() - start >= ms;
  };
}

// A screenshot of the main window as it is now, a test artefact.
void save_main(const char* file) {
  HWND h = main_window()->hwnd();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  pump(100);
  RECT r;
  GetWindowRect(h, &r);
  CHECK(test::save_screen_bmp(r, test::host_path((std::string(TB_ARTIFACTS) + "/" + file).c_str())));
}

void menu_on(int target, std::deque<std::function<bool()>> steps) {
  g_steps = std::move(steps);
  SetTimer(nullptr, 0, 30, run_steps);
  launcher().open_menu(target);
  CHECK(g_steps.empty());
  CHECK(popup_of(res::kLauncherMenu) == nullptr);
}

}  // namespace

TEST_CASE("set.ini loads into the list: groups where their names first occur, items in section order") {
  main_win();
  REQUIRE(launcher().created());
  // Sections are read by number, whatever their names: "4" is read as section 3.
  CHECK(shown() == std::vector<std::string>{"[常用工具]", "记事本", "系统目录", "[网址]", "按键论坛", "没有路径"});
  grouplist::ItemRecord r;
  std::vector<int> icons;
  REQUIRE(list().GetItem(list().FindItemByName("记事本"), r, icons, false));
  CHECK(r.signature == "记事本");  // empty help reads as the name
  CHECK(r.online);
  CHECK(r.remark == "C:\\windows\\system32\\notepad.exe");
  list().CollapseAll();
}

namespace {
// A file type of our own whose DefaultIcon value is given.
void register_type(const char* ext, const wchar_t* icon_value) {
  HKEY k = nullptr;
  RegCreateKeyExW(HKEY_CLASSES_ROOT, to_wide(std::string(".") + ext).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
  const std::wstring cls = to_wide(std::string(ext) + "file");
  RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(cls.c_str()), static_cast<DWORD>((cls.size() + 1) * 2));
  RegCloseKey(k);
  RegCreateKeyExW(HKEY_CLASSES_ROOT, (cls + L"\\DefaultIcon").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
  RegSetValueExW(k, nullptr, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(icon_value),
                 static_cast<DWORD>((wcslen(icon_value) + 1) * 2));
  RegCloseKey(k);
}
}  // namespace

TEST_CASE("icons: the file's own, else the built-in pictures by the target's form") {
  // Quotes removed, variables expanded, a negative index naming a resource.
  register_type("tbicona", L"\"%SystemRoot%\\system32\\shell32.dll\",-4");
  register_type("tbiconb", L"%SystemRoot%\\system32\\shell32.dll");  // no comma: the default stays
  const std::string web = default_icon(DefaultIcon::Web), computer = default_icon(DefaultIcon::Computer),
                    folder = default_icon(DefaultIcon::Folder);
  REQUIRE(!web.empty());
  CHECK(web != computer);
  CHECK(computer != folder);
  struct Row {
    std::string target;
    IconMode mode;
    std::string expected;  // "" means: the file's own icon, none of the three
  };
  const Row rows[] = {
      {"http://bbs.anjian.com", IconMode::Loading, web},
      {"C:\\windows", IconMode::Loading, folder},
      {"C:\\没有这个\\文件", IconMode::Loading, computer},  // missing, no extension with a type: not a folder
      {"C:\\没有这个\\a.tbicona", IconMode::Loading, ""},
      {"C:\\没有这个\\a.tbiconb", IconMode::Loading, computer},
      {"C:\\windows\\system32\\notepad.exe", IconMode::Loading, ""},
      {"http://x", IconMode::Adding, web},
      {"C:\\新文件", IconMode::Adding, folder},
      {"relative", IconMode::Adding, computer},
  };
  for (const Row& r : rows) {
    CAPTURE(r.target);
    std::string icon = launcher_icon(r.target, r.mode);
    REQUIRE(icon.size() == 54 + 40 * 40 * 3);
    if (r.expected.empty()) CHECK((icon != web && icon != computer && icon != folder));
    else CHECK(icon == r.expected);
  }
}

TEST_CASE("menu popup: at the pointer, on top; each entry does what it says and set.ini follows") {
  MainWindow& w = main_win();
  using namespace res::menu_names;
  const int tools = list().FindGroupByName("常用工具");
  const int web = list().FindGroupByName("网址");
  const int forum = list().FindItemByName("按键论坛");
  SetCursorPos(300, 300);

  SUBCASE("opens 5 pixels up and left of the pointer, on top, and closes with 结束选择") {
    POINT where{};
    bool topmost = false;
    menu_on(tools, {[&] {
                      HWND m = popup_of(res::kLauncherMenu);
                      if (!m) return false;
                      RECT r;
                      GetWindowRect(m, &r);
                      where = {r.left, r.top};
                      topmost = (GetWindowLongPtrW(m, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                      CHECK(Window::from(m)->unknown_names().empty());
                      return true;
                    },
                    shot(res::kLauncherMenu, "menu_popup.bmp"), click(res::kLauncherMenu, kAddItem),
                    shot(res::kItemDialog, "item_dialog.bmp"),
                    [] {
                      HWND d = popup_of(res::kItemDialog);
                      if (d) CHECK(Window::from(d)->unknown_names().empty());
                      return d != nullptr;
                    },
                    [] {
                      HWND d = popup_of(res::kItemDialog);
                      if (d) Window::from(d)->end_modal(0);  // closed without its button: the menu stays
                      return d != nullptr;
                    },
                    click(res::kLauncherMenu, kDone)});
    CHECK(where.x == 295);
    CHECK(where.y == 295);
    CHECK(topmost);
  }
  SUBCASE("删除分组 asks first; No keeps everything, Yes deletes the item's group") {
    const std::string before = set_ini();
    menu_on(forum, {click(res::kLauncherMenu, kDeleteGroup), answer("你确认要删除", IDNO)});
    CHECK(g_box_text == "你确认要删除 网址 及以下的所有的子项目吗？");  // the item's group, not an empty name
    CHECK(list().FindGroupByName("网址") == web);
    CHECK(set_ini() == before);
    menu_on(forum, {click(res::kLauncherMenu, kDeleteGroup), answer("你确认要删除", IDYES)});
    CHECK(list().FindGroupByName("网址") == 0);
    CHECK(set_ini().find("网址") == std::string::npos);
    CHECK(set_ini().find("name=记事本") != std::string::npos);
  }
  SUBCASE("添加子项目 after a right-click on an item adds to that item's group, offline, and saves") {
    menu_on(forum, {click(res::kLauncherMenu, kAddItem),
                    type(res::kItemDialog, res::item_dialog_names::kPath, "C:\\windows\\system32\\calc.exe"),
                    type(res::kItemDialog, res::item_dialog_names::kName, "计算器"),
                    type(res::kItemDialog, res::item_dialog_names::kNote, "算数"),
                    [] {  // any change makes the button a confirmation
                      HWND d = popup_of(res::kItemDialog);
                      return d && Window::from(d)->text(res::item_dialog_names::kButton) == "确定";
                    },
                    click(res::kItemDialog, res::item_dialog_names::kButton)});
    grouplist::ItemRecord r;
    std::vector<int> icons;
    REQUIRE(list().GetItem(list().FindItemByName("计算器"), r, icons, false));
    CHECK(r.group == web);
    CHECK_FALSE(r.online);
    IniDocument ini = IniDocument::parse(set_ini());
    bool found = false;
    for (const std::string& s : ini.section_names())
      if (ini.get(s, "name") == "计算器") {
        found = true;
        CHECK(ini.get(s, "fl") == "网址");
        CHECK(ini.get(s, "help") == "算数");
      }
    CHECK(found);
  }
  SUBCASE("添加分组 through the group name popup; an empty name adds nothing") {
    menu_on(tools, {click(res::kLauncherMenu, kAddGroup),
                    [] {
                      HWND g = popup_of(res::kGroupNamePopup);
                      if (g) CHECK(Window::from(g)->unknown_names().empty());
                      return g != nullptr;
                    },
                    type(res::kGroupNamePopup, res::group_popup_names::kName, "新分组"),
                    click(res::kGroupNamePopup, res::group_popup_names::kButton)});
    CHECK(list().FindGroupByName("新分组") != 0);
    menu_on(tools, {click(res::kLauncherMenu, kAddGroup), click(res::kGroupNamePopup, res::group_popup_names::kButton)});
    CHECK(list().FindGroupByName("") == 0);
  }
  SUBCASE("the item dialog waits while another window is active, with what was typed") {
    HWND other = nullptr;
    menu_on(tools, {click(res::kLauncherMenu, kAddItem),
                    type(res::kItemDialog, res::item_dialog_names::kPath, "C:\\工具\\a.exe"),
                    [&] {
                      other = CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                              nullptr, nullptr, nullptr);
                      SetForegroundWindow(other);
                      return true;
                    },
                    after(300),
                    [&] {
                      HWND d = popup_of(res::kItemDialog);
                      CHECK(GetForegroundWindow() == other);
                      REQUIRE(d);
                      CHECK(Window::from(d)->text(res::item_dialog_names::kPath) == "C:\\工具\\a.exe");
                      CHECK(popup_of(res::kLauncherMenu));
                      return true;
                    },
                    click(res::kItemDialog, res::item_dialog_names::kButton)});  // no name: nothing added
    DestroyWindow(other);
    CHECK(list().FindItemByName("a") == 0);
  }
  SUBCASE("a right-click on an empty list opens the menu: 添加分组 works, group entries do nothing") {
    list().DeleteGroups(0, false);
    save_main("launcher_empty.bmp");
    g_steps = {click(res::kLauncherMenu, kAddItem), click(res::kLauncherMenu, kDeleteGroup),
               click(res::kLauncherMenu, kRenameGroup), click(res::kLauncherMenu, kDeleteItem), after(100),
               [] {
                 CHECK(popup_of(res::kItemDialog) == nullptr);
                 CHECK(FindWindowW(L"#32770", nullptr) == nullptr);
                 return popup_of(res::kLauncherMenu) != nullptr;
               },
               click(res::kLauncherMenu, kAddGroup), type(res::kGroupNamePopup, res::group_popup_names::kName, "第一组"),
               click(res::kGroupNamePopup, res::group_popup_names::kButton)};
    SetTimer(nullptr, 0, 30, run_steps);
    const HWND box = reinterpret_cast<HWND>(list().list_window());
    SendMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
    SendMessageW(box, WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
    CHECK(g_steps.empty());
    CHECK(shown() == std::vector<std::string>{"[第一组]"});
  }
  SUBCASE("删除当前子项目 deletes the selected item after a question") {
    const int notepad = list().FindItemByName("记事本");
    list().ExpandAll();
    list().SelectItem(notepad);
    menu_on(tools, {click(res::kLauncherMenu, kDeleteItem), answer("你确认要删除", IDYES)});
    CHECK(g_box_text == "你确认要删除 记事本 吗？");
    CHECK(list().FindItemByName("记事本") == 0);
    CHECK(set_ini().find("记事本") == std::string::npos);
  }
  SUBCASE("开机启动 and 取消开机启动 write the Run value and say so") {
    const char* run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    // The notice says what happened; it is closed before the next entry.
    auto said = [] {
      std::string text;
      wait_until([&] {
        HWND n = popup_of(res::kNoticeWindow);
        if (n) text = Window::from(n)->text(res::notice_names::kMessage);
        return n != nullptr;
      }, 2000);
      if (HWND n = popup_of(res::kNoticeWindow)) Window::from(n)->destroy();
      return text;
    };
    menu_on(tools, {click(res::kLauncherMenu, kStartWithWindows)});
    CHECK(registry_string(HKEY_LOCAL_MACHINE, run, "Velgo") == program_path());
    CHECK(said() == "设置开机启动成功！");
    menu_on(tools, {click(res::kLauncherMenu, kNoStartWithWindows)});
    CHECK(registry_string(HKEY_LOCAL_MACHINE, run, "Velgo") == std::string());
    CHECK(said() == "取消开机启动成功！");
  }
  SUBCASE("start-with-Windows falls back to the user's Run key and reports a refusal") {
    // A key deleted while still open refuses every write: it stands for a root the user may
    // not write.
    HKEY locked = nullptr, user = nullptr;
    REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\TarvoTestGone", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &locked, nullptr) == ERROR_SUCCESS);
    REQUIRE(RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarvoTestGone") == ERROR_SUCCESS);
    REQUIRE(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\TarvoTestUser", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &user, nullptr) == ERROR_SUCCESS);
    const char* run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    CHECK(shell::set_start_with_windows(true, locked, user));  // the machine key refuses: the user's takes it
    CHECK(registry_string(user, run, "Velgo") == program_path());
    CHECK(shell::set_start_with_windows(false, locked, user));
    CHECK(registry_string(user, run, "Velgo") == std::string());
    CHECK_FALSE(shell::set_start_with_windows(true, locked, locked));  // nothing writable: a failure
    RegCloseKey(locked);
    RegCloseKey(user);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarvoTestUser");
  }
  SUBCASE("取消窗口置顶 takes the main window off the top, 窗口置顶 puts it back") {
    menu_on(tools, {click(res::kLauncherMenu, kNotTopmost)});
    CHECK((GetWindowLongPtrW(w.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);
    menu_on(tools, {click(res::kLauncherMenu, kTopmost)});
    CHECK((GetWindowLongPtrW(w.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
  }
  SUBCASE("更改当前组名称: a taken name is refused, an empty one ignored, a new one saved for every item") {
    using namespace res::group_popup_names;
    const std::string before = set_ini();
    std::string shown_name;
    menu_on(forum, {click(res::kLauncherMenu, kRenameGroup),
                    [&] {
                      HWND g = popup_of(res::kGroupNamePopup);
                      if (g) shown_name = Window::from(g)->text(kName);
                      return g != nullptr;
                    },
                    type(res::kGroupNamePopup, kName, "常用工具"), click(res::kGroupNamePopup, kButton),
                    answer("Tarvo", IDOK), type(res::kGroupNamePopup, kName, "  "),
                    click(res::kGroupNamePopup, kButton)});
    CHECK(shown_name == "网址");  // the item's group
    CHECK(g_box_text == "已有名为 常用工具 的分组，请换一个名称。");
    CHECK(set_ini() == before);
    menu_on(forum, {click(res::kLauncherMenu, kRenameGroup), type(res::kGroupNamePopup, kName, "论坛"),
                    click(res::kGroupNamePopup, kButton)});
    CHECK(list().FindGroupByName("论坛") == web);
    IniDocument ini = IniDocument::parse(set_ini());
    std::vector<std::string> renamed;
    for (const std::string& s : ini.section_names()) {
      CHECK(ini.get(s, "fl") != "网址");
      if (ini.get(s, "fl") == "论坛") renamed.push_back(ini.get(s, "name"));
    }
    CHECK(renamed == std::vector<std::string>{"按键论坛", "没有路径"});
  }
  SUBCASE("files dropped on an item of the second group become its items, saved") {
    list().ExpandAll();
    int row = 0;
    while (list().GetHandleAt(row) != forum) ++row;
    const HWND box = reinterpret_cast<HWND>(list().list_window());
    RECT r{};
    SendMessageW(box, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    const std::string dir = program_dir();
    test::send_drop(box, {dir + "甲.txt", dir + "乙.tar.gz", "C:\\windows"}, test::middle(r));
    IniDocument ini = IniDocument::parse(set_ini());
    std::vector<std::string> in_web;
    for (const std::string& s : ini.section_names())
      if (ini.get(s, "fl") == "网址") in_web.push_back(ini.get(s, "name"));
    CHECK(in_web == std::vector<std::string>{"按键论坛", "没有路径", "甲", "乙.tar", "windows"});
    CHECK(list().FindItemByName("乙.tar") != 0);
    save_main("launcher_dropped.bmp");
  }
  SUBCASE("a drop that cannot be saved adds nothing and says so") {
    const std::wstring ini = to_wide(program_dir() + "set.ini");
    DeleteFileW(ini.c_str());
    REQUIRE(CreateDirectoryW(ini.c_str(), nullptr));  // set.ini cannot be replaced
    g_steps = {answer("Tarvo", IDOK)};
    SetTimer(nullptr, 0, 30, run_steps);
    test::send_drop(reinterpret_cast<HWND>(list().list_window()), {program_dir() + "丙.txt"});
    CHECK(g_box_text == "无法写入 set.ini（程序所在的文件夹只读？），拖入的文件没有添加。");
    CHECK(list().FindItemByName("丙") == 0);
    RemoveDirectoryW(ini.c_str());
  }
  // Back to the file the test started from, for the next subcase.
  write_file_atomic(program_dir() + "set.ini", kSetIni);
  list().DeleteGroups(0, false);
  launcher().load();
}
