// The window pick gesture on a drawing panel, shared by the radar and the image tool.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/handles.h"
#include "platform/window.h"
#include "radar/pictures.h"

namespace tb::radar {

// Press picks up the target (cursor, empty panel, mouse capture); each move outlines the
// window under the mouse; release or a lost capture puts the target back and removes the
// outline. The object must stay where it is once attached (its handlers point at it).
class WindowPick {
 public:
  using MoveHandler = std::function<void(HWND)>;
  using ResetHandler = std::function<void()>;

  WindowPick() = default;
  WindowPick(const WindowPick&) = delete;
  WindowPick& operator=(const WindowPick&) = delete;

  // Binds MouseDown, MouseMove, MouseUp and CaptureLost of `panel` on `w`, makes the target
  // cursor and shows the icon picture. `on_move(hwnd)` runs at each move step while dragging,
  // with the window under the mouse, before the outline moves; `on_reset` (if any) runs when
  // a drag starts and when it ends.
  void attach(Window& w, std::string_view panel, MoveHandler on_move, ResetHandler on_reset = {});

  bool dragging() const { return dragging_; }
  // The window under the mouse at the previous step.
  HWND last() const { return last_; }
  HCURSOR cursor() const { return cursor_.get(); }

  // The steps of the gesture; public so a step can be timed alone.
  void begin();
  void track();
  void end();
  // For the window's destroyed handler: removes an outline a drag left on the screen.
  void abandon();

 private:
  void show(const PanelPicture& pic);

  Window* w_ = nullptr;
  std::string panel_;
  MoveHandler on_move_;
  ResetHandler on_reset_;
  bool dragging_ = false;
  HWND last_ = nullptr;
  bool outlined_ = false;  // whether last_ carries an inverted outline now
  CursorHandle cursor_;
  const PanelPicture empty_ = panel_picture(false);
  const PanelPicture icon_ = panel_picture(true);
};

}  // namespace tb::radar
