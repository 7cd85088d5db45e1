// The radar's actions on a picked window, which usually belongs to another process and may
// have stopped answering. None of them makes the UI thread wait on that process.
#pragma once
#include <windows.h>

#include <deque>
#include <string>

namespace tb::radar {

// How long a window may take to answer before it counts as not responding.
constexpr UINT kAnswerMs = 2000;

// The message box text for a window that did not answer in time (GBK).
extern const char kNoAnswerText[];

enum class Outcome { Done, NoAnswer };

struct RemoteAction {
  enum class Kind { Title, Move, Topmost, NotTopmost, Opacity };
  Kind kind = Kind::Title;
  HWND target = nullptr;
  std::wstring title;
  int x = 0, y = 0, width = 0, height = 0;
  BYTE alpha = 0;

  static RemoteAction set_title(HWND h, std::wstring text);
  // As MoveWindow with repaint: the position is the parent's client coordinates for a child.
  static RemoteAction move(HWND h, int x, int y, int width, int height);
  // On: the window is brought to the foreground first.
  static RemoteAction topmost(HWND h, bool on);
  // Adds WS_EX_LAYERED to the window's extended style and applies the opacity.
  static RemoteAction opacity(HWND h, BYTE alpha);
};

// Runs actions one at a time in the order asked. A window of another thread is first asked
// to answer within kAnswerMs; only then is the action applied, from a short-lived worker
// thread (through the asynchronous forms where there are any), so a hung window is never
// changed later. The outcome comes back as `message` posted to the reply window; hand it to
// finished(). A window of the calling thread cannot hang it and is changed at once.
class RemoteWindows {
 public:
  void reply_to(HWND window, UINT message) {
    reply_ = window;
    message_ = message;
  }
  void run(RemoteAction action);
  // For the reply message: its outcome. Starts the next action; after NoAnswer the actions
  // still queued for that window are dropped.
  Outcome finished(WPARAM wp, LPARAM lp);
  bool busy() const { return busy_; }

 private:
  void start(RemoteAction action);

  HWND reply_ = nullptr;
  UINT message_ = 0;
  bool busy_ = false;
  std::deque<RemoteAction> queue_;
};

}  // namespace tb::radar
