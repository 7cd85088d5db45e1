// The window radar: pick any window by dragging the target icon onto it, read its handle,
// class, title, rectangle and process, and move, retitle, pin, hide, show or fade it.
#pragma once

namespace tb::radar {

// Opens the radar window (no owner, not modal); when it is already open it is restored and
// brought forward instead. False if the window could not be created.
bool open();

}  // namespace tb::radar
