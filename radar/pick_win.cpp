#include "radar/pick_win.h"

#include <cstdint>

#include "base/colour.h"
#include "platform/theme.h"
#include "radar/probe.h"

namespace tb::radar {

namespace {
HCURSOR make_cursor() {
  MonoCursor c = target_cursor();
  return CreateCursor(GetModuleHandleW(nullptr), MonoCursor::kHotX, MonoCursor::kHotY, MonoCursor::kSize,
                      MonoCursor::kSize, c.and_mask.data(), c.xor_mask.data());
}
}  // namespace

void WindowPick::attach(Window& w, std::string_view panel, MoveHandler on_move, ResetHandler on_reset) {
  w_ = &w;
  panel_ = panel;
  on_move_ = std::move(on_move);
  on_reset_ = std::move(on_reset);
  cursor_.reset(make_cursor());
  show(icon_);
  w.on(panel_, Event::MouseDown, [this](const EventArgs&) { begin(); });
  w.on(panel_, Event::MouseMove, [this](const EventArgs&) { track(); });
  w.on(panel_, Event::MouseUp, [this](const EventArgs&) { end(); });
  // A pick whose mouse capture is taken away (another window captures, the desktop switches)
  // ends as a release would, so no outline stays on the screen.
  w.on(panel_, Event::CaptureLost, [this](const EventArgs&) { end(); });
}

void WindowPick::show(const PanelPicture& pic) {
  // The picture fills the panel inside a one-pixel frame, scaled with the screen's DPI.
  Surface s = w_->surface(panel_);
  if (!s.pixels) return;
  const int b = w_->scale(1), w = s.width - 2 * b, h = s.height - 2 * b;
  const std::uint32_t frame = colour::to_pixel(theme::kBorder);
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      std::uint32_t& px = s.pixels[static_cast<std::size_t>(y) * s.width + x];
      if (x < b || y < b || x >= b + w || y >= b + h) {
        px = frame;
        continue;
      }
      const int sx = (x - b) * PanelPicture::kWidth / w, sy = (y - b) * PanelPicture::kHeight / h;
      const std::uint8_t* bgr = &pic.bgr[static_cast<std::size_t>(sy) * PanelPicture::kStride + sx * 3];
      px = colour::pixel(bgr[2], bgr[1], bgr[0]);
    }
  }
  w_->repaint(panel_);
}

void WindowPick::begin() {
  if (!w_) return;
  if (outlined_) invert_outline(last_);
  dragging_ = true;
  w_->set_cursor(panel_, cursor_.get());
  show(empty_);
  HWND panel = w_->control(panel_);
  UpdateWindow(panel);  // the icon leaves the panel at once, as if picked up
  if (on_reset_) on_reset_();
  SetCapture(panel);
  POINT p{};
  GetCursorPos(&p);
  last_ = WindowFromPoint(p);
  outlined_ = false;  // nothing is drawn on the window under the press
}

void WindowPick::track() {
  if (!dragging_) return;
  POINT p{};
  GetCursorPos(&p);
  HWND w = WindowFromPoint(p);
  if (on_move_) on_move_(w);
  if (w != last_) {
    invert_outline(w);
    if (outlined_) invert_outline(last_);
    last_ = w;
    outlined_ = true;
  }
}

void WindowPick::end() {
  if (!dragging_) return;
  w_->set_cursor(panel_, nullptr);
  dragging_ = false;
  show(icon_);
  if (GetCapture() == w_->control(panel_)) ReleaseCapture();  // a capture taken away is not ours
  if (outlined_) invert_outline(last_);
  outlined_ = false;
  if (on_reset_) on_reset_();
}

void WindowPick::abandon() {
  if (!dragging_) return;
  dragging_ = false;
  if (outlined_) invert_outline(last_);
  outlined_ = false;
  if (GetCursor() == cursor_.get()) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace tb::radar
