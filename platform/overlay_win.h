// Rectangles outlined on the screen for a while, above every window: a pop-up that takes no
// focus, lets the mouse through and is cut to the frames by its region. One set of outlines at
// a time.
#pragma once
#include <windows.h>

#include <vector>

namespace tb {

// Frames each box (screen coordinates) with `thickness` pixels of `colour` just outside it, so
// the boxes' own pixels stay visible, and one pixel of `edge` outside that, so a frame shows on
// any background (on one of its own colour too); boxes that overlap get one frame around them
// all. Shown for `ms` milliseconds; outlines still shown are taken down first. False when no
// window could be made.
bool show_outlines(const std::vector<RECT>& boxes, COLORREF colour, COLORREF edge, int thickness, unsigned ms);
// Takes the outlines down now, if any are shown.
void hide_outlines();
// The window showing the outlines now, or nullptr.
HWND outlines_window();

}  // namespace tb
