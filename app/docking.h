// Edge docking of the main window as pure functions of its rectangle, the primary
// screen's size and the pointer, so the rules can be checked without a window.
#pragma once

namespace tb::dock {

struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};
struct Screen {
  int width, height;
};

// After the window has been moved: pull it flush against a nearby edge.
Box snap(Box b, Screen s, int margin);
// Park it behind the edge it touches, leaving `margin` pixels visible.
Box tuck_away(Box b, Screen s, int margin);
// Bring a parked window back.
Box reveal(Box b, Screen s, int margin);
// At every idle moment: tuck away when the pointer is outside the (inclusive) box, else reveal.
Box on_idle(Box b, Screen s, int margin, int px, int py);
// Every timer tick: tuck away when the pointer is outside the box (right and bottom
// exclusive); the timer never reveals.
Box on_timer(Box b, Screen s, int margin, int px, int py);
// The call-out hotkey: move a parked window back into view.
Box activate(Box b, Screen s);

}  // namespace tb::dock
