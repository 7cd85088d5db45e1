#include <doctest/doctest.h>

#include <string>
#include <thread>

#include "base/encoding.h"
#include "tests/win/util/ui_driver.h"
#include "util/hotkey.h"

using namespace tb;

namespace {

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr UINT kProbe = WM_APP + 1;

// Two window procedures that answer kProbe differently, so a test can tell whose procedure
// a message reached and how many times.
int g_probe_calls[2];
int g_hotkeys_seen[2];

template <int N>
LRESULT CALLBACK probe_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kProbe) {
    ++g_probe_calls[N];
    return (N + 1) * 1000 + static_cast<LRESULT>(wp);
  }
  if (msg == WM_HOTKEY) ++g_hotkeys_seen[N];
  return DefWindowProcW(w, msg, wp, lp);
}

template <int N>
const wchar_t* probe_class() {
  static const wchar_t* name = [] {
    static const wchar_t* n = N == 0 ? L"TbHotkeyProbeA" : L"TbHotkeyProbeB";
    WNDCLASSW wc{};
    wc.lpfnWndProc = probe_proc<N>;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = n;
    RegisterClassW(&wc);
    return n;
  }();
  return name;
}

struct Window {
  HWND hwnd;
  explicit Window(int kind = 0, bool visible = false) {
    hwnd = CreateWindowExW(0, kind == 0 ? probe_class<0>() : probe_class<1>(), L"hotkey test",
                           WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 100, 100, 200, 150,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~Window() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
};

void press(UINT modifiers, WORD key) {
  std::vector<WORD> keys;
  if (modifiers & MOD_CONTROL) keys.push_back(VK_CONTROL);
  if (modifiers & MOD_ALT) keys.push_back(VK_MENU);
  if (modifiers & MOD_SHIFT) keys.push_back(VK_SHIFT);
  keys.push_back(key);
  std::vector<INPUT> in;
  for (WORD k : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    in.push_back(i);
  }
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *it;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// True when nobody holds the combination (probed on a window of its own).
bool combination_free(UINT modifiers, UINT key) {
  Window probe;
  if (!RegisterHotKey(probe.hwnd, 0xB000, modifiers, key)) return false;
  UnregisterHotKey(probe.hwnd, 0xB000);
  return true;
}

const HotkeyRegistration* entry(std::string_view text) {
  for (const auto& r : hotkey_table())
    if (r.id_text == text) return &r;
  return nullptr;
}

void clear_table() {
  while (!hotkey_table().empty()) unregister_hotkey(hotkey_table().front().id_text);
}

struct Pressed {
  int count = 0;
  HWND window = nullptr;
  UINT msg = 0;
  LPARAM lp = 0;
  HotkeyAction action(LRESULT result = 0) {
    return [this, result](HWND w, UINT m, WPARAM, LPARAM l) -> LRESULT {
      ++count;
      window = w;
      msg = m;
      lp = l;
      return result;
    };
  }
};

}  // namespace

TEST_CASE("a pressed hotkey runs the action registered under its text") {
  clear_table();
  g_hotkeys_seen[0] = 0;
  Window main_window;
  Pressed pressed;
  REQUIRE(register_hotkey(main_window.hwnd, kCtrlAlt, 'W', pressed.action(77), "窗口激活置前"));
  REQUIRE(hotkey_table().size() == 1);
  CHECK(hotkey_table()[0].window == main_window.hwnd);
  CHECK(hotkey_table()[0].id_text == "窗口激活置前");

  press(kCtrlAlt, 'W');
  REQUIRE(::test::wait_until([&] { return pressed.count > 0; }));
  CHECK(pressed.count == 1);
  CHECK(pressed.window == main_window.hwnd);
  CHECK(pressed.msg == WM_HOTKEY);
  CHECK(LOWORD(pressed.lp) == kCtrlAlt);
  CHECK(HIWORD(pressed.lp) == 'W');
  CHECK(g_hotkeys_seen[0] == 0);  // consumed by the action, not passed on

  // The action's result is the window procedure's result.
  const auto id = static_cast<WPARAM>(hotkey_table()[0].hotkey_id);
  CHECK(SendMessageW(main_window.hwnd, WM_HOTKEY, id, MAKELPARAM(kCtrlAlt, 'W')) == 77);

  CHECK(unregister_hotkey("窗口激活置前"));
  CHECK_FALSE(unregister_hotkey("窗口激活置前"));
  CHECK(hotkey_table().empty());
  CHECK(combination_free(kCtrlAlt, 'W'));
}

TEST_CASE("registering a text again replaces the earlier registration") {
  clear_table();
  Window tool;
  Pressed first, second;
  REQUIRE(register_hotkey(tool.hwnd, kCtrlAlt, 'Q', first.action(), "颜色1"));
  REQUIRE(register_hotkey(tool.hwnd, kCtrlAlt, '2', Pressed().action(), "颜色2"));
  REQUIRE(register_hotkey(tool.hwnd, kCtrlAlt, 'W', second.action(), "颜色1"));

  // Replaced in place, and the earlier combination is given back.
  REQUIRE(hotkey_table().size() == 2);
  CHECK(hotkey_table()[0].id_text == "颜色1");
  CHECK(hotkey_table()[1].id_text == "颜色2");
  CHECK(combination_free(kCtrlAlt, 'Q'));

  press(kCtrlAlt, 'W');
  REQUIRE(::test::wait_until([&] { return second.count > 0; }));
  CHECK(first.count == 0);

  // The tool registers the same texts at every activation: the table does not grow.
  for (int i = 0; i < 20; ++i) {
    REQUIRE(register_hotkey(tool.hwnd, kCtrlAlt, 'W', second.action(), "颜色1"));
    REQUIRE(register_hotkey(tool.hwnd, kCtrlAlt, '2', Pressed().action(), "颜色2"));
  }
  CHECK(hotkey_table().size() == 2);
  second.count = 0;
  press(kCtrlAlt, 'W');
  REQUIRE(::test::wait_until([&] { return second.count > 0; }));
  CHECK(second.count == 1);

  // The same text moved to another window: the first window's copy is gone.
  Window other;
  Pressed moved;
  REQUIRE(register_hotkey(other.hwnd, kCtrlAlt, 'W', moved.action(), "颜色1"));
  CHECK(hotkey_table().size() == 2);
  CHECK(entry("颜色1")->window == other.hwnd);
  press(kCtrlAlt, 'W');
  REQUIRE(::test::wait_until([&] { return moved.count > 0; }));
  CHECK(second.count == 1);
  clear_table();
}

TEST_CASE("a blank identification text shows the notice and registers nothing") {
  clear_table();
  Window main_window(0, true);
  REQUIRE(register_hotkey(main_window.hwnd, kCtrlAlt, 'Q', Pressed().action(), "已有"));

  for (const char* blank : {"  ", "", "\xA1\xA1 "}) {
    CAPTURE(std::string(blank).size());
    std::wstring box_text;
    HWND box_owner = nullptr;
    ::test::DialogDriver driver(to_wide("友情提醒"), [&](HWND box) {
      for (HWND c : ::test::children_of(box))
        if (::test::class_of(c) == L"Static" && !::test::text_of(c).empty()) box_text = ::test::text_of(c);
      box_owner = GetWindow(box, GW_OWNER);
      ::test::press_button(box, IDOK);
    });
    CHECK_FALSE(register_hotkey(main_window.hwnd, kCtrlAlt, 'W', Pressed().action(), blank));
    REQUIRE(driver.found());
    CHECK_FALSE(driver.stuck());
    CHECK(box_text == to_wide("【窗口_热键注册】命令第5个参数【标识文本】不能为空文本"));
    CHECK(box_owner == own_top_level_window());
    CHECK(hotkey_table().size() == 1);
    CHECK(combination_free(kCtrlAlt, 'W'));
  }
  clear_table();
}

TEST_CASE("a combination held elsewhere is refused and leaves the table as it was") {
  clear_table();
  // Another thread's window holds Ctrl+Alt+W, as another program would.
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    Window w;
    RegisterHotKey(w.hwnd, 1, kCtrlAlt, 'W');
    SetEvent(held);
    WaitForSingleObject(release, INFINITE);
    UnregisterHotKey(w.hwnd, 1);
  });
  WaitForSingleObject(held, INFINITE);

  Window main_window;
  Window spare(1);
  const LONG_PTR proc_before = GetWindowLongPtrW(spare.hwnd, GWLP_WNDPROC);
  REQUIRE(register_hotkey(main_window.hwnd, kCtrlAlt, 'Q', Pressed().action(), "颜色1"));

  CHECK_FALSE(register_hotkey(spare.hwnd, kCtrlAlt, 'W', Pressed().action(), "窗口激活置前"));
  CHECK(hotkey_table().size() == 1);
  CHECK(entry("窗口激活置前") == nullptr);
  CHECK(GetWindowLongPtrW(spare.hwnd, GWLP_WNDPROC) == proc_before);  // not taken over

  // An existing text moved onto a held combination loses its earlier hotkey too: the table
  // keeps no registration whose hotkey is gone.
  CHECK_FALSE(register_hotkey(main_window.hwnd, kCtrlAlt, 'W', Pressed().action(), "颜色1"));
  CHECK(hotkey_table().empty());
  CHECK(combination_free(kCtrlAlt, 'Q'));

  SetEvent(release);
  holder.join();
  CloseHandle(held);
  CloseHandle(release);
}

TEST_CASE("each taken-over window keeps its own procedure and its own hotkeys") {
  clear_table();
  Window a(0), b(1);
  g_probe_calls[0] = g_probe_calls[1] = 0;
  g_hotkeys_seen[0] = 0;
  const LONG_PTR original = GetWindowLongPtrW(a.hwnd, GWLP_WNDPROC);

  Pressed on_a, on_b;
  REQUIRE(register_hotkey(a.hwnd, kCtrlAlt, '1', on_a.action(), "颜色1"));
  const LONG_PTR taken = GetWindowLongPtrW(a.hwnd, GWLP_WNDPROC);
  CHECK(taken != original);
  REQUIRE(register_hotkey(a.hwnd, kCtrlAlt, '2', Pressed().action(), "颜色2"));
  REQUIRE(register_hotkey(a.hwnd, kCtrlAlt, '2', Pressed().action(), "颜色2"));
  CHECK(GetWindowLongPtrW(a.hwnd, GWLP_WNDPROC) == taken);  // taken over once
  REQUIRE(register_hotkey(b.hwnd, kCtrlAlt, '3', on_b.action(), "颜色3"));

  // Each window's hotkey runs its own action.
  press(kCtrlAlt, '3');
  REQUIRE(::test::wait_until([&] { return on_b.count > 0; }));
  press(kCtrlAlt, '1');
  REQUIRE(::test::wait_until([&] { return on_a.count > 0; }));
  CHECK(on_a.window == a.hwnd);
  CHECK(on_b.window == b.hwnd);
  CHECK(on_a.count + on_b.count == 2);

  CHECK(SendMessageW(a.hwnd, kProbe, 5, 0) == 1005);
  CHECK(SendMessageW(b.hwnd, kProbe, 7, 0) == 2007);
  CHECK(g_probe_calls[0] == 1);
  CHECK(g_probe_calls[1] == 1);

  // A hotkey message that is not one of the module's is the window's own business.
  SendMessageW(a.hwnd, WM_HOTKEY, 0xBEEF, 0);
  CHECK(g_hotkeys_seen[0] == 1);
  clear_table();
}

TEST_CASE("the own top-level window is the topmost visible one of the process") {
  clear_table();
  Window hidden;
  CHECK(own_top_level_window() == nullptr);
  CHECK_FALSE(register_hotkey(nullptr, kCtrlAlt, 'W', Pressed().action(), "窗口激活置前"));
  CHECK(hotkey_table().empty());

  Window a(0, true), b(0, true);
  SetWindowPos(a.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  CHECK(own_top_level_window() == a.hwnd);
  SetWindowPos(b.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  CHECK(own_top_level_window() == b.hwnd);
  ShowWindow(b.hwnd, SW_HIDE);
  CHECK(own_top_level_window() == a.hwnd);

  Pressed pressed;
  REQUIRE(register_hotkey(nullptr, kCtrlAlt, 'W', pressed.action(), "窗口激活置前"));
  CHECK(hotkey_table()[0].window == a.hwnd);
  press(kCtrlAlt, 'W');
  REQUIRE(::test::wait_until([&] { return pressed.count > 0; }));
  CHECK(pressed.window == a.hwnd);
  clear_table();
}

TEST_CASE("notify answers the button code minus one, owned by the given or own window") {
  Window main_window(0, true), other;
  SetWindowPos(main_window.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  HWND box_owner = nullptr;
  {
    ::test::DialogDriver driver(to_wide("友情提醒"), [&](HWND box) {
      box_owner = GetWindow(box, GW_OWNER);
      ::test::press_button(box, IDOK);
    });
    CHECK(notify("好") == 0);
    REQUIRE(driver.found());
    CHECK(box_owner == main_window.hwnd);
  }
  {
    ::test::DialogDriver driver(to_wide("Tarvo"), [&](HWND box) {
      box_owner = GetWindow(box, GW_OWNER);
      ::test::press_button(box, IDNO);
    });
    CHECK(notify("要继续吗？", MB_YESNO, "Tarvo", other.hwnd) == 6);
    REQUIRE(driver.found());
    CHECK(box_owner == other.hwnd);
  }
}

TEST_CASE("a destroyed window leaves no registration behind") {
  clear_table();
  {
    Window tool;
    REQUIRE(register_hotkey(tool.hwnd, kCtrlAlt, 'W', Pressed().action(), "颜色1"));
    REQUIRE(register_hotkey(tool.hwnd, kCtrlAlt, '1', Pressed().action(), "颜色2"));
  }
  CHECK(hotkey_table().empty());
  CHECK(combination_free(kCtrlAlt, 'W'));

  // The tool window opened again registers the same texts and gets its hotkeys.
  Window reopened;
  Pressed pressed;
  REQUIRE(register_hotkey(reopened.hwnd, kCtrlAlt, 'W', pressed.action(), "颜色1"));
  press(kCtrlAlt, 'W');
  REQUIRE(::test::wait_until([&] { return pressed.count > 0; }));
  CHECK(pressed.window == reopened.hwnd);
  clear_table();
}
