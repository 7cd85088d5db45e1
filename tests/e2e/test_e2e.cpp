// The real toolbox.exe, started from a temporary program folder and driven from outside.
#include <windows.h>

#include <doctest/doctest.h>

#include <map>
#include <string>

#include "base/encoding.h"
#include "base/fileio.h"
#include "resources/radar_window.h"
#include "resources/shell_windows.h"
#include "tests/e2e/e2e_util.h"
#include "tests/win/radar/target_windows.h"
#include "tests/support/win_test_util.h"

using namespace tb;

namespace {

const wchar_t* kCaption = L"Tarvo\x6309\x952E\x5DE5\x5177\x7BB1";  // Tarvo按键工具箱

int screen_dpi() {
  HDC dc = GetDC(nullptr);
  int d = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return d;
}

std::map<int, HWND> controls_by_id(HWND top) {
  std::map<int, HWND> out;
  EnumChildWindows(
      top,
      [](HWND h, LPARAM lp) -> BOOL {
        (*reinterpret_cast<std::map<int, HWND>*>(lp))[GetDlgCtrlID(h)] = h;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

int id_of(std::string_view name, const WindowDef& window = res::kMainWindow) {
  const auto& cs = window.controls;
  for (std::size_t i = 0; i < cs.size(); ++i)
    if (cs[i].name == name) return kFirstControlId + static_cast<int>(i);
  return -1;
}

// Clicks a row of the main window that the window draws itself (it has no window to click).
void click_drawn(HWND main, std::string_view name) {
  const ControlDef* d = find_control(res::kMainWindow, name);
  REQUIRE(d);
  REQUIRE(d->parent.empty());
  RECT r;
  GetWindowRect(main, &r);
  const int dpi = MulDiv(r.right - r.left, 96, res::kMainWindow.w);  // the toolbox's own scale
  test::post_click(main, {MulDiv(d->x + d->w / 2, dpi, 96), MulDiv(d->y + d->h / 2, dpi, 96)});
}

// The page of the main window's tab control named `name`.
HWND page_window(HWND main, const char* name) {
  std::pair<std::wstring, HWND> look{to_wide(name), nullptr};
  EnumChildWindows(
      main,
      [](HWND h, LPARAM lp) -> BOOL {
        auto* p = reinterpret_cast<std::pair<std::wstring, HWND>*>(lp);
        wchar_t buf[32] = {};
        GetWindowTextW(h, buf, 32);
        if (p->first == buf) p->second = h;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&look));
  return look.second;
}

RECT window_rect(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

std::string artifact(const std::string& name) { return std::string(TB_ARTIFACTS) + "/" + name; }

// Writes the state files a user already has, to check that start-up leaves them alone.
void prepare_program_dir(const std::wstring& dir, const std::string& set_ini) {
  std::string d = to_gbk(dir);
  write_file_atomic(d + "\\set.ini", set_ini);
  write_file_atomic(d + "\\配置信息.ini", "[配置]\r\n截图方式=真\r\n");
  CreateDirectoryW((dir + L"\\" + to_wide("代码管理器")).c_str(), nullptr);
}

const std::string kOneItem = "[1]\r\nfl=常用\r\nname=记事本\r\npath=C:\\WINDOWS\\system32\\notepad.exe\r\nhelp=\r\n";

HWND start(e2e::Launched& app, const wchar_t* tag, const std::string& set_ini = kOneItem) {
  std::wstring dir = e2e::make_program_dir(tag);
  prepare_program_dir(dir, set_ini);
  REQUIRE(e2e::launch(test::host_path(TB_TOOLBOX_EXE), dir, app));
  HWND main = nullptr;
  test::wait_until([&] { return (main = e2e::find_window(app.pi.dwProcessId, kCaption)) != nullptr; }, 20000);
  REQUIRE(main);
  return main;
}

// Restores a registry DWORD when the test ends, whatever happens.
struct DpiOverride {
  HKEY key = nullptr;
  DWORD old = 0;
  bool had = false;
  explicit DpiOverride(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    DWORD size = sizeof old;
    had = RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS;
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  ~DpiOverride() {
    if (had) RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old), sizeof old);
    else RegDeleteValueW(key, L"LogPixels");
    RegCloseKey(key);
  }
};

// True for a row on a tab page other than the first, directly or through its containers.
bool on_later_page(const ControlDef& d) {
  for (const ControlDef* c = &d; c;) {
    const ControlDef* parent = find_control(res::kMainWindow, c->parent);
    if (parent && parent->kind == Kind::Tab && c->page > 0) return true;
    c = parent;
  }
  return false;
}

void check_layout(HWND main, int dpi) {
  RECT r = window_rect(main);
  CHECK(r.right - r.left == MulDiv(267, dpi, 96));
  CHECK(r.bottom - r.top == MulDiv(597, dpi, 96));
  // The rows of the pages not shown at first have no windows until their page shows.
  auto first = controls_by_id(main);
  int later = 0;
  for (std::size_t i = 0; i < res::kMainWindow.controls.size(); ++i)
    if (on_later_page(res::kMainWindow.controls[i]) && !(res::kMainWindow.controls[i].style & style::kDrawn)) {
      CHECK(first.count(kFirstControlId + static_cast<int>(i)) == 0);
      ++later;
    }
  CHECK(later == 3);
  const char* pages[3] = {"工具", "排行", "说明"};
  for (const char* tab : {"图形按钮14", "图形按钮15", "图形按钮13"}) {
    click_drawn(main, tab);
    const char* page = pages[tab == std::string("图形按钮14") ? 1 : tab == std::string("图形按钮15") ? 2 : 0];
    CHECK(test::wait_until([&] { return IsWindowVisible(page_window(main, page)) != 0; }, 3000));
  }
  // Every row has its window in its place, but the decorations the window draws itself.
  auto ids = controls_by_id(main);
  int found = 0, drawn = 0;
  for (std::size_t i = 0; i < res::kMainWindow.controls.size(); ++i) {
    const ControlDef& d = res::kMainWindow.controls[i];
    if (d.kind == Kind::Timer) continue;
    CAPTURE(std::string(d.name));
    auto it = ids.find(kFirstControlId + static_cast<int>(i));
    if (d.style & style::kDrawn) {
      CHECK(it == ids.end());
      ++drawn;
      continue;
    }
    REQUIRE(it != ids.end());
    RECT c;
    GetWindowRect(it->second, &c);
    MapWindowPoints(nullptr, GetParent(it->second), reinterpret_cast<POINT*>(&c), 2);
    CHECK(c.left == MulDiv(d.x, dpi, 96));
    CHECK(c.top == MulDiv(d.y, dpi, 96));
    CHECK(c.right - c.left == MulDiv(d.w, dpi, 96));
    CHECK(c.bottom - c.top == MulDiv(d.h, dpi, 96));
    ++found;
  }
  CHECK(found == 8);
  CHECK(drawn == 20);
}

}  // namespace

TEST_CASE("the toolbox starts, shows its main window and every control, and exits") {
  e2e::Launched app;
  HWND main = start(app, L"e2e");
  const int dpi = screen_dpi();
  check_layout(main, dpi);
  // The main window is made on top of other programs' windows.
  CHECK(test::wait_until([&] { return (GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 3000));
  auto ids = controls_by_id(main);
  wchar_t buf[64] = {};
  SendMessageW(ids[id_of("编辑框1")], WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf));
  CHECK(to_gbk(buf) == "按键论坛搜索……");

  SUBCASE("each tab, with a screenshot") {
    const char* buttons[3] = {"图形按钮13", "图形按钮14", "图形按钮15"};
    const char* pages[3] = {"工具", "排行", "说明"};
    for (int n : {1, 2, 0}) {
      click_drawn(main, buttons[n]);
      test::wait_until([&] { return IsWindowVisible(page_window(main, pages[n])) != 0; }, 3000);
      for (int i = 0; i < 3; ++i) CHECK(static_cast<bool>(IsWindowVisible(page_window(main, pages[i]))) == (i == n));
      test::pump(300);
      CHECK(test::save_screen_bmp(window_rect(main), test::host_path(artifact("main_tab" + std::to_string(n) + ".bmp").c_str())));
    }
  }

  SUBCASE("docking, seen from outside") {
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    RECT r = window_rect(main);
    const int h = r.bottom - r.top;
    SetCursorPos(sw / 2, 900);
    SetWindowPos(main, nullptr, 300, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CHECK(test::wait_until([&] { return window_rect(main).top == 3 - h; }, 3000));
    SetCursorPos(320, 1);
    CHECK(test::wait_until([&] { return window_rect(main).top == 0; }, 3000));
    // Ctrl+Alt+W brings the parked window back to top 10.
    SetCursorPos(sw / 2, 900);
    CHECK(test::wait_until([&] { return window_rect(main).top == 3 - h; }, 3000));
    test::send_keys({VK_CONTROL, VK_MENU, 'W'});
    CHECK(test::wait_until([&] { return window_rect(main).top == 10; }, 3000));
    // A window dragged to the middle stays there.
    SetWindowPos(main, nullptr, 400, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetCursorPos(5, 900);
    test::pump(300);
    CHECK(window_rect(main).top == 200);
  }

  // The exit button ends the process with code 0.
  click_drawn(main, "图形按钮5");
  CHECK(WaitForSingleObject(app.pi.hProcess, 10000) == WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(app.pi.hProcess, &code);
  CHECK(code == 0);
  // Start-up read nothing it then rewrote.
  std::string ini;
  CHECK(read_file(to_gbk(app.dir) + "\\set.ini", ini));
  CHECK(ini.find("name=记事本") != std::string::npos);
}

TEST_CASE("WM_CLOSE (Alt+F4, the taskbar's Close) ends the toolbox as its exit button does, the radar open") {
  e2e::Launched app;
  HWND main = start(app, L"close");
  click_drawn(main, "图形按钮1");
  HWND radar = nullptr;
  REQUIRE(test::wait_until([&] { return (radar = e2e::find_window(app.pi.dwProcessId, L"\x7A97\x53E3\x5DE5\x5177")) != nullptr; }, 3000));
  test::pump(500);
  CHECK(test::save_screen_bmp(window_rect(radar), test::host_path(artifact("radar.bmp").c_str())));
  PostMessageW(main, WM_CLOSE, 0, 0);
  CHECK(WaitForSingleObject(app.pi.hProcess, 5000) == WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(app.pi.hProcess, &code);
  CHECK(code == 0);
}

TEST_CASE("a launcher of 1,000 items: every group shown, the file left as it was") {
  // Ten groups with GBK names, a gap in the numbering, empty help and an empty path.
  std::string ini;
  for (int n = 1; n <= 1000; ++n) {
    if (n == 500) continue;  // section 1000 is then read as an empty item in the empty group
    ini.append("[").append(std::to_string(n)).append("]\r\nfl=分组").append(std::to_string(n % 10))
        .append("\r\nname=项目").append(std::to_string(n)).append("\r\npath=").append(n % 7 ? "C:\\WINDOWS\\system32\\notepad.exe" : "")
        .append("\r\nhelp=\r\n");
  }
  e2e::Launched app;
  HWND main = start(app, L"launcher", ini);
  // The list lies in the launcher's frame on page 0 of the tab control; find it wherever it is.
  HWND list = nullptr;
  auto find_list = [&] {
    EnumChildWindows(
        main,
        [](HWND h, LPARAM lp) -> BOOL {
          wchar_t c[32] = {};
          GetClassNameW(h, c, 32);
          if (lstrcmpiW(c, L"ListBox") == 0) *reinterpret_cast<HWND*>(lp) = h;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list != nullptr;
  };
  test::wait_until(find_list, 10000);
  REQUIRE(list);
  // Groups start collapsed: one row each, the ten named ones and the empty one.
  CHECK(test::wait_until([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 11; }, 10000));
  test::pump(500);
  CHECK(test::save_screen_bmp(window_rect(main), test::host_path(artifact("launcher.bmp").c_str())));
  std::string after;
  CHECK(read_file(to_gbk(app.dir) + "\\set.ini", after));
  CHECK(after == ini);
}

TEST_CASE("at 144 DPI every position and size is scaled by 1.5") {
  DpiOverride dpi(144);
  e2e::Launched app;
  HWND main = start(app, L"dpi");
  check_layout(main, 144);
  test::pump(500);
  CHECK(test::save_screen_bmp(window_rect(main), test::host_path(artifact("main_dpi144.bmp").c_str())));
}

TEST_CASE("the exit button works while a radar action waits on a program that stopped answering") {
  e2e::Launched target;
  const std::wstring target_exe = test::host_path(TB_RADAR_TARGET_EXE);
  REQUIRE(e2e::start_program(target_exe, target_exe.substr(0, target_exe.find_last_of(L"\\")), target));
  target.dir.clear();  // the build folder is not ours to remove
  HWND hung = nullptr;
  test::wait_until([&] { return (hung = e2e::find_window(target.pi.dwProcessId, radar_target::kTitle)) != nullptr; },
                   20000);
  REQUIRE(hung);
  PostMessageW(hung, radar_target::kStopAnswering, 30000, 0);

  e2e::Launched app;
  HWND main = start(app, L"hung");
  click_drawn(main, "图形按钮1");
  HWND radar = nullptr;
  test::wait_until([&] { return (radar = e2e::find_window(app.pi.dwProcessId, L"\x7A97\x53E3\x5DE5\x5177")) != nullptr; });
  REQUIRE(radar);
  auto ids = controls_by_id(radar);
  const std::wstring handle = std::to_wstring(reinterpret_cast<std::intptr_t>(hung));
  SendMessageW(ids[id_of("编辑框2", res::kRadarWindow)], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(handle.c_str()));
  PostMessageW(ids[id_of("按钮1", res::kRadarWindow)], BM_CLICK, 0, 0);  // 更改标题
  click_drawn(main, "图形按钮5");
  CHECK(WaitForSingleObject(app.pi.hProcess, 5000) == WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(app.pi.hProcess, &code);
  CHECK(code == 0);
}
