#include "radar/remote_win.h"

#include <thread>
#include <utility>

namespace tb::radar {

const char kNoAnswerText[] = "目标窗口没有响应，本次操作未执行。";

RemoteAction RemoteAction::set_title(HWND h, std::wstring text) {
  RemoteAction a;
  a.kind = Kind::Title;
  a.target = h;
  a.title = std::move(text);
  return a;
}

RemoteAction RemoteAction::move(HWND h, int x, int y, int width, int height) {
  RemoteAction a;
  a.kind = Kind::Move;
  a.target = h;
  a.x = x;
  a.y = y;
  a.width = width;
  a.height = height;
  return a;
}

RemoteAction RemoteAction::topmost(HWND h, bool on) {
  RemoteAction a;
  a.kind = on ? Kind::Topmost : Kind::NotTopmost;
  a.target = h;
  return a;
}

RemoteAction RemoteAction::opacity(HWND h, BYTE alpha) {
  RemoteAction a;
  a.kind = Kind::Opacity;
  a.target = h;
  a.alpha = alpha;
  return a;
}

namespace {

// Whether h takes a message within kAnswerMs. A thread that has pumped nothing for a while
// is given up on at once.
bool answers(HWND h) {
  DWORD_PTR r = 0;
  return SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &r) != 0;
}

// Applies the action; false if the window did not take it in time. `async` adds
// SWP_ASYNCWINDOWPOS, so a window that stops answering now only misses the change.
bool apply(const RemoteAction& a, bool async) {
  HWND h = a.target;
  const UINT later = async ? SWP_ASYNCWINDOWPOS : 0;
  switch (a.kind) {
    case RemoteAction::Kind::Title: {
      DWORD_PTR r = 0;
      return SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a.title.c_str()), SMTO_ABORTIFHUNG,
                                 kAnswerMs, &r) != 0 ||
             !IsWindow(h);
    }
    case RemoteAction::Kind::Move:
      SetWindowPos(h, nullptr, a.x, a.y, a.width, a.height, SWP_NOZORDER | SWP_NOACTIVATE | later);
      return true;
    case RemoteAction::Kind::Topmost:
      SetForegroundWindow(h);
      SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | later);
      return true;
    case RemoteAction::Kind::NotTopmost:
      SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | later);
      return true;
    case RemoteAction::Kind::Opacity:
      // These two have no asynchronous form: on another thread's window they wait for it.
      // The layered bit joins the window's own extended style.
      SetWindowLongPtrW(h, GWL_EXSTYLE, GetWindowLongPtrW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
      SetLayeredWindowAttributes(h, 0, a.alpha, LWA_ALPHA);
      return true;
  }
  return true;
}

// A handle that is no window fails silently, as the calls on it would.
Outcome act_remotely(const RemoteAction& a) {
  if (!IsWindow(a.target)) return Outcome::Done;
  if (!answers(a.target)) return IsWindow(a.target) ? Outcome::NoAnswer : Outcome::Done;
  return apply(a, true) ? Outcome::Done : Outcome::NoAnswer;
}

}  // namespace

void RemoteWindows::run(RemoteAction action) {
  if (!busy_) {
    start(std::move(action));
    return;
  }
  // Only the last of a run of opacity steps on one window matters.
  if (action.kind == RemoteAction::Kind::Opacity && !queue_.empty() &&
      queue_.back().kind == RemoteAction::Kind::Opacity && queue_.back().target == action.target) {
    queue_.back().alpha = action.alpha;
    return;
  }
  queue_.push_back(std::move(action));
}

void RemoteWindows::start(RemoteAction action) {
  busy_ = true;
  const HWND reply = reply_;
  const UINT message = message_;
  const LPARAM target = reinterpret_cast<LPARAM>(action.target);
  if (GetWindowThreadProcessId(action.target, nullptr) == GetCurrentThreadId()) {
    apply(action, false);
    PostMessageW(reply, message, static_cast<WPARAM>(Outcome::Done), target);
    return;
  }
  // The worker owns its copy of the action and only posts back; it never touches our
  // windows, and nobody waits for it.
  std::thread([action = std::move(action), reply, message, target] {
    const Outcome o = act_remotely(action);
    PostMessageW(reply, message, static_cast<WPARAM>(o), target);
  }).detach();
}

Outcome RemoteWindows::finished(WPARAM wp, LPARAM lp) {
  const Outcome o = static_cast<Outcome>(wp);
  const HWND target = reinterpret_cast<HWND>(lp);
  busy_ = false;
  if (o == Outcome::NoAnswer) {
    std::erase_if(queue_, [target](const RemoteAction& a) { return a.target == target; });
  }
  if (!queue_.empty()) {
    RemoteAction next = std::move(queue_.front());
    queue_.pop_front();
    start(std::move(next));
  }
  return o;
}

}  // namespace tb::radar
