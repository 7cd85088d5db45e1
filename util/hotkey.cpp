#include "util/hotkey.h"

#include <algorithm>
#include <utility>

#include "base/text.h"
#include "platform/hook.h"
#include "platform/msgbox.h"

namespace tb {

namespace {

struct State {
  std::vector<HotkeyRegistration> table;
  std::vector<HWND> hooked;  // windows whose hotkey messages come to the table
};

// Never destroyed: windows can still receive messages while static objects are torn down.
State& state() {
  static State* s = new State;
  return *s;
}

std::vector<HotkeyRegistration>::iterator find_text(std::string_view id_text) {
  auto& t = state().table;
  return std::find_if(t.begin(), t.end(), [&](const HotkeyRegistration& r) { return r.id_text == id_text; });
}

// Smallest identifier no registration uses; RegisterHotKey takes 1 to 0xBFFF from applications.
int free_id() {
  const auto& t = state().table;
  for (int id = 1;; ++id)
    if (std::none_of(t.begin(), t.end(), [&](const HotkeyRegistration& r) { return r.hotkey_id == id; }))
      return id;
}

// A destroyed window's handle may be handed out again; nothing of it may stay behind.
void forget_window(HWND w) {
  auto& s = state();
  std::erase(s.hooked, w);
  std::erase_if(s.table, [&](const HotkeyRegistration& r) { return r.window == w; });
}

bool on_window_message(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_NCDESTROY) {
    forget_window(w);
    return false;
  }
  if (msg != WM_HOTKEY) return false;
  for (const auto& r : state().table) {
    if (r.window == w && r.hotkey_id == static_cast<int>(wp)) {
      // A copy: the action may register again and so replace its own entry.
      HotkeyAction action = r.action;
      result = action ? action(w, msg, wp, lp) : 0;
      return true;
    }
  }
  // Not one of ours (the window's own RegisterHotKey, or the system's): the window handles it.
  return false;
}

struct OwnWindowSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK find_own_window(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<OwnWindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w)) return TRUE;
  s->found = w;
  return FALSE;
}

bool take_over(HWND w) {
  auto& hooked = state().hooked;
  if (std::find(hooked.begin(), hooked.end(), w) != hooked.end()) return true;
  if (!hook_window(w, &on_window_message)) return false;
  hooked.push_back(w);
  return true;
}

}  // namespace

bool register_hotkey(HWND window, UINT modifiers, UINT key, HotkeyAction action,
                     std::string_view id_text) {
  if (trim(id_text).empty()) {
    notify("【窗口_热键注册】命令第5个参数【标识文本】不能为空文本", MB_OK, "友情提醒");
    return false;
  }
  if (!window) window = own_top_level_window();

  // The same text again replaces the earlier registration, keeping its identifier.
  auto same = find_text(id_text);
  int id = same != state().table.end() ? same->hotkey_id : free_id();
  if (same != state().table.end()) UnregisterHotKey(same->window, id);

  if (!window || !RegisterHotKey(window, id, modifiers, key)) {
    if (same != state().table.end()) state().table.erase(same);  // its hotkey is gone
    return false;
  }
  if (!take_over(window)) {
    UnregisterHotKey(window, id);
    if (same != state().table.end()) state().table.erase(same);
    return false;
  }
  HotkeyRegistration reg{window, std::string(id_text), std::move(action), id};
  if (same != state().table.end())
    *same = std::move(reg);
  else
    state().table.push_back(std::move(reg));
  return true;
}

bool unregister_hotkey(std::string_view id_text) {
  auto it = find_text(id_text);
  if (it == state().table.end()) return false;
  UnregisterHotKey(it->window, it->hotkey_id);
  state().table.erase(it);
  return true;
}

const std::vector<HotkeyRegistration>& hotkey_table() { return state().table; }

// EnumWindows goes from the top of the window order down.
HWND own_top_level_window() {
  OwnWindowSearch search{GetCurrentProcessId(), nullptr};
  EnumWindows(find_own_window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int notify(std::string_view text, UINT buttons, std::string_view title, HWND owner) {
  return message_box(text, buttons, title, owner ? owner : own_top_level_window());
}

}  // namespace tb
