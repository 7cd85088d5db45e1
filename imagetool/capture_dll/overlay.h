// The windows of one selection and the Session they share. Each window has a handler object
// and a window procedure of its own; what they have in common lives in the Session.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "imagetool/capture_dll/session.h"
#include "imagetool/capture_dll/toolbar.h"
#include "platform/handles.h"

namespace capture {

class Session;

inline bool empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline POINT client_point(LPARAM lp) { return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

// What every window of a selection has: its session, and its handle from WM_NCCREATE to
// WM_NCDESTROY (null before and after).
class OverlayWindow {
 public:
  explicit OverlayWindow(Session& s) : s_(s) {}
  OverlayWindow(const OverlayWindow&) = delete;
  OverlayWindow& operator=(const OverlayWindow&) = delete;
  HWND hwnd() const { return w_; }

 protected:
  // A topmost tool window of class `cls`, registered on first use, with `self` as its handler.
  template <class H>
  static bool create_window(H* self, const wchar_t* cls, UINT class_style, DWORD ex_style, const RECT& r, HWND owner);
  Session& s_;

 private:
  static bool make_window(const wchar_t* cls, WNDPROC proc, UINT class_style, DWORD ex_style, const RECT& r,
                          HWND owner, void* self);
  template <class H>
  friend LRESULT CALLBACK window_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  HWND w_ = nullptr;
};

// The procedure of the windows whose handler is an H: H::handle answers their messages.
template <class H>
LRESULT CALLBACK window_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<H*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->w_ = w;
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<H*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!self) return DefWindowProcW(w, msg, wp, lp);
  if (msg == WM_NCDESTROY) {  // the last message: the handler hears nothing more of this window
    SetWindowLongPtrW(w, GWLP_USERDATA, 0);
    self->w_ = nullptr;
    return DefWindowProcW(w, msg, wp, lp);
  }
  return self->handle(msg, wp, lp);
}

template <class H>
bool OverlayWindow::create_window(H* self, const wchar_t* cls, UINT class_style, DWORD ex_style, const RECT& r,
                                  HWND owner) {
  return make_window(cls, &window_proc<H>, class_style, ex_style, r, owner, self);
}

// The frozen screen over the whole virtual screen, dimmed outside the selection; it has the
// keyboard and the pointer's drags.
class SelectionWindow : public OverlayWindow {
 public:
  using OverlayWindow::OverlayWindow;
  bool create();
  // Repaints where a selection `s` is drawn: its frame and its size label.
  void invalidate_around(const RECT& s);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

 private:
  RECT label_rect(const RECT& s) const;
  void paint(HDC dc, const RECT& area);
  void set_cursor();
};

// The buttons under a finished selection. Never active: the keyboard stays with the selection.
class ToolbarWindow : public OverlayWindow {
 public:
  using OverlayWindow::OverlayWindow;
  bool create(HWND owner);
  // Beside the selection, or hidden; either way no button is hot or pressed.
  void show(bool show);
  void place();
  bool covers(POINT screen) const;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void paint();
  void on_move(POINT p);
  void on_press(POINT p);
  void on_release(POINT p);
  int hot_ = -1, pressed_ = -1;
  bool tracking_ = false;
};

// The frozen screen around the pointer, zoomed, beside it; never in the pointer's way.
class MagnifierWindow : public OverlayWindow {
 public:
  using OverlayWindow::OverlayWindow;
  bool create(HWND owner);
  // Follows the pointer on a timer from start() to stop().
  void start();
  void stop();
  // Beside the pointer showing what lies under it; hidden over the toolbar and under a dialog.
  void follow();
  void hide();
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void paint(HDC dc);
  POINT shown_at_{-1000000, -1000000};
};

// A 32-bit top-down DIB section, selected into a memory DC of its own for its whole life.
class DibDc {
 public:
  DibDc(HDC like, int w, int h) : dc_(CreateCompatibleDC(like)), bitmap_(make(like, w, h, bits_)) {
    if (dc_ && bitmap_) select_.emplace(dc_.get(), bitmap_.get());
  }
  explicit operator bool() const { return select_.has_value(); }
  HDC dc() const { return dc_.get(); }
  // 0x00RRGGBB, top row first; read only after GdiFlush().
  const std::uint32_t* bits() const { return bits_; }

 private:
  static HBITMAP make(HDC like, int w, int h, std::uint32_t*& bits) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* p = nullptr;
    HBITMAP b = CreateDIBSection(like, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<std::uint32_t*>(p);
    return b;
  }
  std::uint32_t* bits_ = nullptr;
  tb::MemDc dc_;
  tb::GdiBitmap bitmap_;
  std::optional<tb::SelectGuard> select_;
};

// One selection from start to end: the frozen screen, the selection and its history, and the
// three windows, on the calling thread.
class Session {
 public:
  enum class State { Selecting, Dragging, Moving, Adjusting };
  struct VirtualScreen {
    int x = 0, y = 0, w = 0, h = 0;
  };

  explicit Session(COLORREF frame) : frame_(frame) {}
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  bool start();
  Outcome run(bool to_clipboard, RECT& region, Picture& picture);

  // What the windows show.
  int sc(int v) const { return MulDiv(v, dpi_, 96); }
  int dpi() const { return dpi_; }
  COLORREF frame() const { return frame_; }
  HFONT font() const { return font_.get(); }
  const VirtualScreen& screen() const { return screen_; }
  HDC frozen() const { return frozen_->dc(); }
  HDC black() const { return black_->dc(); }
  State state() const { return state_; }
  // Client coordinates of the selection window, right and bottom exclusive.
  const RECT& selection() const { return sel_; }
  bool modal() const { return modal_; }
  bool done() const { return done_; }
  bool toolbar_covers(POINT screen) const { return toolbar_.covers(screen); }
  void follow_pointer() { magnifier_.follow(); }

  // What the user does; points in client coordinates of the selection window.
  void press(POINT p);
  void drag_to(POINT p);
  void release(POINT p);
  void double_press(POINT p);
  void capture_lost();
  void key(WPARAM vk);
  void command(Command c);
  void abandon();

 private:
  bool freeze();
  void set_selection(const RECT& s);
  RECT clamp_moved(const RECT& s, int dx, int dy) const;
  void nudge(int dx, int dy);
  void undo();
  void save();
  void finish();
  Picture region_picture() const;

  COLORREF frame_;
  int dpi_ = 96;
  VirtualScreen screen_;
  std::optional<DibDc> frozen_;  // the virtual screen, screen_.w a row
  std::optional<DibDc> black_;   // one black pixel, blended over what lies outside
  tb::GdiFont font_;

  State state_ = State::Selecting;
  RECT sel_{};
  RECT before_{};
  POINT anchor_{};
  std::vector<RECT> history_;
  bool modal_ = false;
  bool done_ = false;
  Outcome outcome_ = Outcome::Abandoned;

  SelectionWindow selection_{*this};
  ToolbarWindow toolbar_{*this};
  MagnifierWindow magnifier_{*this};
};

}  // namespace capture
