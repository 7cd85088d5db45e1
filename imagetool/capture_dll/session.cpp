#include "imagetool/capture_dll/session.h"

#include <algorithm>

#include "imagetool/capture_dll/overlay.h"

namespace capture {

namespace {

bool same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

bool OverlayWindow::make_window(const wchar_t* cls, WNDPROC proc, UINT class_style, DWORD ex_style, const RECT& r,
                                HWND owner, void* self) {
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(module(), cls, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = class_style;
    wc.lpfnWndProc = proc;
    wc.hInstance = module();
    wc.lpszClassName = cls;
    RegisterClassExW(&wc);
  }
  return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | ex_style, cls, L"", WS_POPUP, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, owner, nullptr, module(), self) != nullptr;
}

Session::~Session() {
  // The owner takes its toolbar and magnifier with it.
  if (selection_.hwnd()) DestroyWindow(selection_.hwnd());
}

// The frozen copy of the virtual screen everything is shown and cut from.
bool Session::freeze() {
  tb::WindowDc screen(nullptr);
  dpi_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
  frozen_.emplace(screen.get(), screen_.w, screen_.h);
  black_.emplace(screen.get(), 1, 1);  // a new DIB section is zeroed: black
  if (!*frozen_ || !*black_) return false;
  if (!BitBlt(frozen_->dc(), 0, 0, screen_.w, screen_.h, screen.get(), screen_.x, screen_.y, SRCCOPY | CAPTUREBLT))
    return false;
  GdiFlush();
  return true;
}

bool Session::start() {
  screen_ = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
             GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  if (screen_.w <= 0 || screen_.h <= 0 || !freeze()) return false;
  font_.reset(CreateFontW(-sc(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei"));
  if (!selection_.create() || !toolbar_.create(selection_.hwnd()) || !magnifier_.create(selection_.hwnd()))
    return false;
  ShowWindow(selection_.hwnd(), SW_SHOW);
  SetForegroundWindow(selection_.hwnd());
  SetFocus(selection_.hwnd());
  magnifier_.start();
  return true;
}

Outcome Session::run(bool to_clipboard, RECT& region, Picture& picture) {
  bool quit = false;
  WPARAM quit_code = 0;
  MSG m;
  while (!done_) {
    BOOL r = GetMessageW(&m, nullptr, 0, 0);
    if (r == 0) {  // the host is closing: give up and pass the quit on
      quit = true;
      quit_code = m.wParam;
      break;
    }
    if (r < 0) break;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (outcome_ == Outcome::Finished && !quit) {
    picture = region_picture();
    region = {sel_.left + screen_.x, sel_.top + screen_.y, sel_.right + screen_.x, sel_.bottom + screen_.y};
    if (to_clipboard) put_on_clipboard(selection_.hwnd(), picture);
  } else {
    outcome_ = Outcome::Abandoned;
  }
  magnifier_.stop();
  DestroyWindow(selection_.hwnd());
  if (quit) PostQuitMessage(static_cast<int>(quit_code));
  return outcome_;
}

Picture Session::region_picture() const {
  Picture p;
  p.width = sel_.right - sel_.left;
  p.height = sel_.bottom - sel_.top;
  p.pixels.reserve(static_cast<std::size_t>(p.width) * p.height);
  for (int y = sel_.top; y < sel_.bottom; ++y) {
    const std::uint32_t* row = frozen_->bits() + static_cast<std::size_t>(y) * screen_.w;
    for (int x = sel_.left; x < sel_.right; ++x) p.pixels.push_back(row[x] & 0xFFFFFF);
  }
  return p;
}

void Session::set_selection(const RECT& s) {
  if (same(s, sel_)) return;
  selection_.invalidate_around(sel_);
  sel_ = s;
  selection_.invalidate_around(sel_);
}

RECT Session::clamp_moved(const RECT& s, int dx, int dy) const {
  int w = s.right - s.left, h = s.bottom - s.top;
  int x = s.left + dx, y = s.top + dy;
  x = x < 0 ? 0 : x + w > screen_.w ? screen_.w - w : x;
  y = y < 0 ? 0 : y + h > screen_.h ? screen_.h - h : y;
  return {x, y, x + w, y + h};
}

void Session::press(POINT p) {
  SetCapture(selection_.hwnd());
  anchor_ = p;
  before_ = sel_;
  if (state_ == State::Adjusting && PtInRect(&sel_, p)) {
    state_ = State::Moving;
  } else {
    state_ = State::Dragging;
    set_selection({p.x, p.y, p.x, p.y});
  }
  toolbar_.show(false);
}

void Session::drag_to(POINT p) {
  if (state_ == State::Dragging) {
    set_selection({std::min(anchor_.x, p.x), std::min(anchor_.y, p.y), std::max(anchor_.x, p.x), std::max(anchor_.y, p.y)});
  } else if (state_ == State::Moving) {
    set_selection(clamp_moved(before_, p.x - anchor_.x, p.y - anchor_.y));
  }
  magnifier_.follow();
}

void Session::release(POINT p) {
  if (state_ != State::Dragging && state_ != State::Moving) return;
  drag_to(p);
  state_ = State::Adjusting;  // first: the WM_CAPTURECHANGED of the release must not end the drag again
  ReleaseCapture();
  if (empty(sel_)) {  // a click, not a drag: keep what was there
    set_selection(before_);
  } else if (!empty(before_) && !same(before_, sel_)) {
    history_.push_back(before_);
  }
  state_ = empty(sel_) ? State::Selecting : State::Adjusting;
  toolbar_.show(state_ == State::Adjusting);
}

void Session::double_press(POINT p) {
  if (state_ == State::Adjusting && PtInRect(&sel_, p)) {
    finish();
  } else {
    press(p);  // the second press of a quick pair starts a drag as usual
  }
}

// Another window took the pointer in the middle of a drag: the drag ends where the pointer is.
void Session::capture_lost() {
  if (state_ != State::Dragging && state_ != State::Moving) return;
  POINT p;
  GetCursorPos(&p);
  release({p.x - screen_.x, p.y - screen_.y});
}

void Session::key(WPARAM vk) {
  switch (vk) {
    case VK_ESCAPE: abandon(); break;
    case VK_RETURN: finish(); break;
    case VK_LEFT: nudge(-1, 0); break;
    case VK_RIGHT: nudge(1, 0); break;
    case VK_UP: nudge(0, -1); break;
    case VK_DOWN: nudge(0, 1); break;
    default: break;
  }
}

void Session::command(Command c) {
  switch (c) {
    case Command::Left: nudge(-1, 0); break;
    case Command::Right: nudge(1, 0); break;
    case Command::Up: nudge(0, -1); break;
    case Command::Down: nudge(0, 1); break;
    case Command::Undo: undo(); break;
    case Command::Save: save(); break;
    case Command::Close: abandon(); break;
    case Command::Finish: finish(); break;
  }
}

void Session::nudge(int dx, int dy) {
  if (state_ != State::Adjusting) return;
  RECT n = clamp_moved(sel_, dx, dy);
  if (same(n, sel_)) return;
  history_.push_back(sel_);
  set_selection(n);
  toolbar_.place();
}

void Session::undo() {
  if (state_ != State::Adjusting) return;
  if (history_.empty()) {  // nothing before the first selection: select anew
    set_selection({});
    state_ = State::Selecting;
    toolbar_.show(false);
    return;
  }
  set_selection(history_.back());
  history_.pop_back();
  toolbar_.place();
}

void Session::save() {
  if (state_ != State::Adjusting) return;
  modal_ = true;
  magnifier_.hide();
  std::string path = ask_save_path(selection_.hwnd());
  modal_ = false;
  // A saved picture ends the capture like 完成: the caller reads the clipboard next.
  if (!path.empty() && save_picture(path, region_picture())) finish();
}

void Session::finish() {
  if (state_ != State::Adjusting || empty(sel_)) return;
  outcome_ = Outcome::Finished;
  done_ = true;
}

void Session::abandon() {
  outcome_ = Outcome::Abandoned;
  done_ = true;
}

Outcome run_selection(COLORREF frame, bool to_clipboard, RECT& region, Picture& picture) {
  Session s(frame);
  if (!s.start()) return Outcome::Abandoned;
  return s.run(to_clipboard, region, picture);
}

}  // namespace capture
