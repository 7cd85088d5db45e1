#include "platform/hook.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace tb {

namespace {

struct Hooked {
  WNDPROC previous = nullptr;
  std::vector<std::pair<int, std::shared_ptr<MessageHook>>> hooks;
};

// Never destroyed: windows still get messages while static objects are torn down. An
// in-process table, not a window property: a property look-up per message is a server
// round trip under Wine.
std::unordered_map<HWND, Hooked>& table() {
  static auto* t = new std::unordered_map<HWND, Hooked>;
  return *t;
}

int g_next_id = 1;

// The hooks running now, innermost last: where call_next goes on from.
struct Running {
  HWND window;
  int id;
};
std::vector<Running>& running() {
  static auto* v = new std::vector<Running>;
  return *v;
}

// Runs the hooks older than `below` newest first. A hook may add or remove hooks (of any
// window) while it runs, so the entry is looked up again at every step and the running hook
// is kept alive.
bool run_hooks(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result, int below = 0x7FFFFFFF) {
  int last_id = below;
  for (;;) {
    auto it = table().find(w);
    if (it == table().end()) return false;
    std::shared_ptr<MessageHook> next;
    for (auto h = it->second.hooks.rbegin(); h != it->second.hooks.rend(); ++h)
      if (h->first < last_id) {
        last_id = h->first;
        next = h->second;
        break;
      }
    if (!next) return false;
    running().push_back({w, last_id});
    const bool answered = (*next)(w, msg, wp, lp, result);
    running().pop_back();
    if (answered) return true;
  }
}

LRESULT CALLBACK hooked_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = table().find(w);
  if (it == table().end()) return DefWindowProcW(w, msg, wp, lp);
  WNDPROC previous = it->second.previous;
  if (msg == WM_NCDESTROY) {
    // Each hook hears of the end; then the window goes back to its own procedure.
    auto hooks = std::move(it->second.hooks);
    table().erase(it);
    SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    for (auto h = hooks.rbegin(); h != hooks.rend(); ++h) {
      LRESULT ignored = 0;
      (*h->second)(w, msg, wp, lp, ignored);
    }
    return CallWindowProcW(previous, w, msg, wp, lp);
  }
  LRESULT r = 0;
  if (run_hooks(w, msg, wp, lp, r)) return r;
  return CallWindowProcW(previous, w, msg, wp, lp);
}

}  // namespace

int hook_window(HWND w, MessageHook hook) {
  if (!w || !hook || !IsWindow(w)) return 0;
  auto& t = table();
  auto it = t.find(w);
  if (it == t.end()) {
    SetLastError(0);
    LONG_PTR prev = SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&hooked_proc));
    if (prev == 0 && GetLastError() != 0) return 0;
    it = t.emplace(w, Hooked{reinterpret_cast<WNDPROC>(prev), {}}).first;
  }
  int id = g_next_id++;
  it->second.hooks.emplace_back(id, std::make_shared<MessageHook>(std::move(hook)));
  return id;
}

void unhook_window(HWND w, int id) {
  auto it = table().find(w);
  if (it == table().end()) return;
  std::erase_if(it->second.hooks, [id](const auto& h) { return h.first == id; });
  // The procedure is put back only while it is still ours; a later subclass keeps calling
  // through us, and the empty entry passes every message on.
  if (it->second.hooks.empty() &&
      GetWindowLongPtrW(w, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&hooked_proc)) {
    SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
    table().erase(it);
  }
}

bool is_hooked(HWND w) { return table().count(w) != 0; }

LRESULT call_next(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  int below = 0x7FFFFFFF;
  for (auto it = running().rbegin(); it != running().rend(); ++it)
    if (it->window == w) {
      below = it->id;
      break;
    }
  LRESULT r = 0;
  if (run_hooks(w, msg, wp, lp, r, below)) return r;
  auto t = table().find(w);
  return t == table().end() ? DefWindowProcW(w, msg, wp, lp) : CallWindowProcW(t->second.previous, w, msg, wp, lp);
}

HWND notification_target(HWND parent, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      return lp ? reinterpret_cast<HWND>(lp) : nullptr;  // menus and accelerators have no control
    case WM_NOTIFY:
      return lp ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      return di && di->CtlType != ODT_MENU ? di->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      return mi && mi->CtlType != ODT_MENU ? GetDlgItem(parent, static_cast<int>(mi->CtlID)) : nullptr;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      return reinterpret_cast<HWND>(lp);  // a scroll bar control; 0 for the window's own bars
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<HWND>(lp);
    default:
      (void)wp;
      return nullptr;
  }
}

bool reflect_notification(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND target = notification_target(parent, msg, wp, lp);
  if (!target || target == parent || !is_hooked(target)) return false;
  return run_hooks(target, kReflected + msg, wp, lp, result);
}

}  // namespace tb
