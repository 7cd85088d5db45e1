#include "imagetool/capture_dll/session.h"

#include <algorithm>
#include <cwchar>
#include <optional>

#include "imagetool/capture_dll/toolbar.h"
#include "platform/double_buffer.h"
#include "platform/handles.h"

namespace capture {

namespace {

constexpr int kMagnifierSize = 80;  // design pixels; the cross runs through 39
constexpr int kZoom = 4;
constexpr UINT_PTR kMagnifierTimer = 1;  // 时钟1
constexpr UINT kMagnifierInterval = 80;

bool empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
bool same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

LRESULT CALLBACK session_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

void register_classes() {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(module(), kSelectionClass, &wc)) return;
  const wchar_t* names[] = {kSelectionClass, kToolbarClass, kMagnifierClass};
  for (const wchar_t* name : names) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = name == kSelectionClass ? CS_DBLCLKS : 0;
    wc.lpfnWndProc = &session_proc;
    wc.hInstance = module();
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
  }
}

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

class Session {
 public:
  explicit Session(COLORREF frame) : frame_(frame) {}
  ~Session();
  bool start();
  Outcome run(bool to_clipboard, RECT& region, Picture& picture);
  LRESULT handle(HWND w, UINT msg, WPARAM wp, LPARAM lp);

 private:
  enum class State { Selecting, Dragging, Moving, Adjusting };

  int sc(int v) const { return MulDiv(v, dpi_, 96); }
  POINT client_point(LPARAM lp) const { return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }
  RECT label_rect(const RECT& s) const;
  void invalidate_around(const RECT& s);
  void set_selection(const RECT& s);
  RECT clamp_moved(const RECT& s, int dx, int dy) const;

  void on_button_down(POINT p);
  void on_move(POINT p);
  void on_button_up(POINT p);
  void on_key(WPARAM vk);
  void command(Command c);
  void nudge(int dx, int dy);
  void undo();
  void save();
  void finish();
  void abandon();

  void paint_selection(HDC dc, const RECT& area);
  void paint_magnifier(HDC dc);
  void place_toolbar();
  void show_toolbar(bool show);
  void tick();
  Picture region_picture() const;

  COLORREF frame_;
  int dpi_ = 96;
  int vx_ = 0, vy_ = 0, vw_ = 0, vh_ = 0;  // the virtual screen
  std::optional<DibDc> frozen_;  // the virtual screen, vw_ a row
  std::optional<DibDc> black_;   // one black pixel, blended over what lies outside
  tb::GdiFont font_;
  HWND selection_ = nullptr, toolbar_ = nullptr, magnifier_ = nullptr;

  State state_ = State::Selecting;
  RECT sel_{};  // client coordinates of the selection window, right and bottom exclusive
  RECT before_{};
  POINT anchor_{};
  std::vector<RECT> history_;
  int hot_ = -1, pressed_ = -1;
  bool tracking_ = false;
  bool modal_ = false;
  POINT shown_at_{-1000000, -1000000};
  bool done_ = false;
  Outcome outcome_ = Outcome::Abandoned;
};

LRESULT CALLBACK session_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* s = reinterpret_cast<Session*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!s || msg == WM_NCDESTROY) {
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(w, GWLP_USERDATA, 0);
    return DefWindowProcW(w, msg, wp, lp);
  }
  return s->handle(w, msg, wp, lp);
}

Session::~Session() {
  // The owner takes its toolbar and magnifier with it.
  if (selection_) DestroyWindow(selection_);
}

bool Session::start() {
  vx_ = GetSystemMetrics(SM_XVIRTUALSCREEN);
  vy_ = GetSystemMetrics(SM_YVIRTUALSCREEN);
  vw_ = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  vh_ = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (vw_ <= 0 || vh_ <= 0) return false;

  {
    tb::WindowDc screen(nullptr);
    dpi_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
    frozen_.emplace(screen.get(), vw_, vh_);
    black_.emplace(screen.get(), 1, 1);  // a new DIB section is zeroed: black
    if (!*frozen_ || !*black_) return false;
    if (!BitBlt(frozen_->dc(), 0, 0, vw_, vh_, screen.get(), vx_, vy_, SRCCOPY | CAPTUREBLT)) return false;
    GdiFlush();
  }
  font_.reset(CreateFontW(-sc(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei"));
  register_classes();
  DWORD ex = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  selection_ = CreateWindowExW(ex, kSelectionClass, L"", WS_POPUP, vx_, vy_, vw_, vh_, nullptr, nullptr, module(), this);
  toolbar_ = CreateWindowExW(ex | WS_EX_NOACTIVATE, kToolbarClass, L"", WS_POPUP, 0, 0, sc(kToolbarWidth),
                             sc(kToolbarHeight), selection_, nullptr, module(), this);
  magnifier_ = CreateWindowExW(ex | WS_EX_NOACTIVATE, kMagnifierClass, L"", WS_POPUP, 0, 0, sc(kMagnifierSize),
                               sc(kMagnifierSize), selection_, nullptr, module(), this);
  if (!selection_ || !toolbar_ || !magnifier_) return false;
  ShowWindow(selection_, SW_SHOW);
  SetForegroundWindow(selection_);
  SetFocus(selection_);
  SetTimer(magnifier_, kMagnifierTimer, kMagnifierInterval, nullptr);
  tick();
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
    region = {sel_.left + vx_, sel_.top + vy_, sel_.right + vx_, sel_.bottom + vy_};
    if (to_clipboard) put_on_clipboard(selection_, picture);
  } else {
    outcome_ = Outcome::Abandoned;
  }
  KillTimer(magnifier_, kMagnifierTimer);
  DestroyWindow(selection_);
  selection_ = toolbar_ = magnifier_ = nullptr;
  if (quit) PostQuitMessage(static_cast<int>(quit_code));
  return outcome_;
}

Picture Session::region_picture() const {
  Picture p;
  p.width = sel_.right - sel_.left;
  p.height = sel_.bottom - sel_.top;
  p.pixels.reserve(static_cast<std::size_t>(p.width) * p.height);
  for (int y = sel_.top; y < sel_.bottom; ++y) {
    const std::uint32_t* row = frozen_->bits() + static_cast<std::size_t>(y) * vw_;
    for (int x = sel_.left; x < sel_.right; ++x) p.pixels.push_back(row[x] & 0xFFFFFF);
  }
  return p;
}

RECT Session::label_rect(const RECT& s) const {
  int w = sc(96), h = sc(20), gap = sc(4);
  RECT r = {s.left, s.top - gap - h, s.left + w, s.top - gap};
  if (r.top < 0) OffsetRect(&r, gap, s.top + gap - r.top);  // no room above: inside the top left corner
  if (r.right > vw_) OffsetRect(&r, vw_ - r.right, 0);
  return r;
}

void Session::invalidate_around(const RECT& s) {
  if (empty(s)) return;
  RECT r = s;
  InflateRect(&r, 3, 3);
  InvalidateRect(selection_, &r, FALSE);
  RECT l = label_rect(s);
  InvalidateRect(selection_, &l, FALSE);
}

void Session::set_selection(const RECT& s) {
  if (same(s, sel_)) return;
  invalidate_around(sel_);
  sel_ = s;
  invalidate_around(sel_);
}

RECT Session::clamp_moved(const RECT& s, int dx, int dy) const {
  int w = s.right - s.left, h = s.bottom - s.top;
  int x = s.left + dx, y = s.top + dy;
  x = x < 0 ? 0 : x + w > vw_ ? vw_ - w : x;
  y = y < 0 ? 0 : y + h > vh_ ? vh_ - h : y;
  return {x, y, x + w, y + h};
}

void Session::on_button_down(POINT p) {
  SetCapture(selection_);
  anchor_ = p;
  before_ = sel_;
  if (state_ == State::Adjusting && PtInRect(&sel_, p)) {
    state_ = State::Moving;
  } else {
    state_ = State::Dragging;
    set_selection({p.x, p.y, p.x, p.y});
  }
  show_toolbar(false);
}

void Session::on_move(POINT p) {
  if (state_ == State::Dragging) {
    set_selection({std::min(anchor_.x, p.x), std::min(anchor_.y, p.y), std::max(anchor_.x, p.x), std::max(anchor_.y, p.y)});
  } else if (state_ == State::Moving) {
    set_selection(clamp_moved(before_, p.x - anchor_.x, p.y - anchor_.y));
  }
  tick();
}

void Session::on_button_up(POINT p) {
  if (state_ != State::Dragging && state_ != State::Moving) return;
  on_move(p);
  state_ = State::Adjusting;  // first: the WM_CAPTURECHANGED of the release must not end the drag again
  ReleaseCapture();
  if (empty(sel_)) {  // a click, not a drag: keep what was there
    set_selection(before_);
  } else if (!empty(before_) && !same(before_, sel_)) {
    history_.push_back(before_);
  }
  state_ = empty(sel_) ? State::Selecting : State::Adjusting;
  show_toolbar(state_ == State::Adjusting);
}

void Session::on_key(WPARAM vk) {
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
  place_toolbar();
}

void Session::undo() {
  if (state_ != State::Adjusting) return;
  if (history_.empty()) {  // nothing before the first selection: select anew
    set_selection({});
    state_ = State::Selecting;
    show_toolbar(false);
    return;
  }
  set_selection(history_.back());
  history_.pop_back();
  place_toolbar();
}

void Session::save() {
  if (state_ != State::Adjusting) return;
  modal_ = true;
  ShowWindow(magnifier_, SW_HIDE);
  std::string path = ask_save_path(selection_);
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

void Session::show_toolbar(bool show) {
  hot_ = pressed_ = -1;
  if (show) {
    place_toolbar();
  } else {
    ShowWindow(toolbar_, SW_HIDE);
  }
}

void Session::place_toolbar() {
  int w = sc(kToolbarWidth), h = sc(kToolbarHeight), gap = sc(4);
  RECT s = {sel_.left + vx_, sel_.top + vy_, sel_.right + vx_, sel_.bottom + vy_};
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromPoint({s.right - 1, s.bottom - 1}, MONITOR_DEFAULTTONEAREST), &mi);
  const RECT& m = mi.rcMonitor;
  int x = s.right - w, y = s.bottom + gap;
  if (y + h > m.bottom) y = s.top - gap - h;    // no room below: above
  if (y < m.top) y = s.bottom - gap - h;        // nor above: inside, along the bottom
  x = x + w > m.right ? m.right - w : x < m.left ? m.left : x;
  y = y + h > m.bottom ? m.bottom - h : y < m.top ? m.top : y;
  SetWindowPos(toolbar_, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(toolbar_, nullptr, FALSE);
}

void Session::tick() {
  POINT p;
  if (!GetCursorPos(&p)) return;
  RECT tb;
  bool over_toolbar = IsWindowVisible(toolbar_) && GetWindowRect(toolbar_, &tb) && PtInRect(&tb, p);
  if (modal_ || over_toolbar) {
    if (IsWindowVisible(magnifier_)) ShowWindow(magnifier_, SW_HIDE);
    return;
  }
  int size = sc(kMagnifierSize), off = sc(20);
  int x = p.x + off, y = p.y + off;
  if (x + size > vx_ + vw_) x = p.x - off - size;  // keep it on the screen, beside the pointer
  if (y + size > vy_ + vh_) y = p.y - off - size;
  SetWindowPos(magnifier_, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (p.x != shown_at_.x || p.y != shown_at_.y) {
    shown_at_ = p;
    InvalidateRect(magnifier_, nullptr, FALSE);
  }
}

void Session::paint_selection(HDC dc, const RECT& area) {
  int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  tb::DoubleBuffer buffer(dc, area);  // drawn in client coordinates
  HDC mem = buffer.dc();
  BitBlt(mem, area.left, area.top, w, h, frozen_->dc(), area.left, area.top, SRCCOPY);
  bool has = !empty(sel_);
  if (has) ExcludeClipRect(mem, sel_.left, sel_.top, sel_.right, sel_.bottom);
  BLENDFUNCTION dim = {AC_SRC_OVER, 0, 112, 0};
  AlphaBlend(mem, area.left, area.top, w, h, black_->dc(), 0, 0, 1, 1, dim);
  SelectClipRgn(mem, nullptr);
  if (has) {
    tb::GdiBrush b(CreateSolidBrush(frame_));
    RECT f = sel_;
    for (int i = 0; i < 2; ++i) {  // two pixels just outside, so every selected pixel stays visible
      InflateRect(&f, 1, 1);
      FrameRect(mem, &f, b.get());
    }

    RECT l = label_rect(sel_);
    tb::GdiBrush lb(CreateSolidBrush(RGB(40, 40, 40)));
    FillRect(mem, &l, lb.get());
    wchar_t text[40];
    swprintf(text, 40, L"%d x %d", static_cast<int>(sel_.right - sel_.left), static_cast<int>(sel_.bottom - sel_.top));
    tb::SelectGuard font(mem, font_.get());
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, RGB(255, 255, 255));
    DrawTextW(mem, text, -1, &l, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

void Session::paint_magnifier(HDC dc) {
  int size = sc(kMagnifierSize);
  RECT all = {0, 0, size, size};
  tb::DoubleBuffer buffer(dc, all);
  HDC mem = buffer.dc();
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  // Source pixels around the pointer, clipped to the frozen copy; the pointer's pixel lands on the cross.
  int zoom = sc(kZoom), span = (size + zoom - 1) / zoom;
  int cx = shown_at_.x - vx_, cy = shown_at_.y - vy_;
  int sx = cx - span / 2, sy = cy - span / 2;
  int dx = sc(39) - (span / 2) * zoom, dy = dx;
  int x0 = std::max(sx, 0), y0 = std::max(sy, 0), x1 = std::min(sx + span, vw_), y1 = std::min(sy + span, vh_);
  if (x1 > x0 && y1 > y0) {
    SetStretchBltMode(mem, COLORONCOLOR);
    StretchBlt(mem, dx + (x0 - sx) * zoom, dy + (y0 - sy) * zoom, (x1 - x0) * zoom, (y1 - y0) * zoom, frozen_->dc(), x0,
               y0, x1 - x0, y1 - y0, SRCCOPY);
  }
  tb::GdiBrush cross(CreateSolidBrush(frame_));
  RECT h = {sc(1), sc(39), sc(79), sc(39) + 1};  // 外形框1
  RECT v = {sc(39), sc(1), sc(39) + 1, sc(79)};  // 外形框2
  FillRect(mem, &h, cross.get());
  FillRect(mem, &v, cross.get());
  tb::GdiBrush border(CreateSolidBrush(RGB(40, 40, 40)));
  FrameRect(mem, &all, border.get());
}

LRESULT Session::handle(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  bool is_selection = w == selection_, is_toolbar = w == toolbar_;
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      if (is_selection) {
        paint_selection(dc, ps.rcPaint);
      } else if (is_toolbar) {
        RECT r;
        GetClientRect(w, &r);
        tb::DoubleBuffer buffer(dc, r);
        paint_toolbar(buffer.dc(), dpi_, hot_, pressed_, frame_, font_.get());
      } else {
        paint_magnifier(dc);
      }
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_KEYDOWN: on_key(wp); return 0;
    case WM_TIMER:
      if (wp == kMagnifierTimer) tick();
      return 0;
    case WM_MOUSEACTIVATE:
      if (!is_selection) return MA_NOACTIVATE;  // the keyboard stays with the selection window
      break;
    case WM_NCHITTEST:
      if (w == magnifier_) return HTTRANSPARENT;  // never in the way of the pointer
      break;
    case WM_SETCURSOR:
      if (is_selection && LOWORD(lp) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        p.x -= vx_;
        p.y -= vy_;
        bool inside = state_ == State::Moving || (state_ == State::Adjusting && PtInRect(&sel_, p));
        SetCursor(LoadCursorW(nullptr, inside ? IDC_SIZEALL : IDC_CROSS));
        return TRUE;
      }
      if (is_toolbar) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      abandon();
      return 0;
    case WM_DESTROY:
      if (is_selection && !done_) abandon();
      break;
    default: break;
  }
  if (is_selection) {
    switch (msg) {
      case WM_LBUTTONDOWN: on_button_down(client_point(lp)); return 0;
      case WM_MOUSEMOVE: on_move(client_point(lp)); return 0;
      case WM_LBUTTONUP: on_button_up(client_point(lp)); return 0;
      case WM_LBUTTONDBLCLK: {
        POINT p = client_point(lp);
        if (state_ == State::Adjusting && PtInRect(&sel_, p)) {
          finish();
        } else {
          on_button_down(p);  // the second press of a quick pair starts a drag as usual
        }
        return 0;
      }
      case WM_RBUTTONUP: abandon(); return 0;
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != selection_ && (state_ == State::Dragging || state_ == State::Moving)) {
          POINT p;
          GetCursorPos(&p);
          on_button_up({p.x - vx_, p.y - vy_});
        }
        return 0;
      default: break;
    }
  } else if (is_toolbar) {
    switch (msg) {
      case WM_MOUSEMOVE: {
        int hot = toolbar_hit(client_point(lp), dpi_);
        if (!tracking_) {
          TRACKMOUSEEVENT t = {sizeof t, TME_LEAVE, w, 0};
          tracking_ = TrackMouseEvent(&t);
        }
        if (hot != hot_) {
          hot_ = hot;
          InvalidateRect(w, nullptr, FALSE);
        }
        tick();
        return 0;
      }
      case WM_MOUSELEAVE:
        tracking_ = false;
        hot_ = -1;
        InvalidateRect(w, nullptr, FALSE);
        return 0;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        pressed_ = toolbar_hit(client_point(lp), dpi_);
        SetCapture(w);
        InvalidateRect(w, nullptr, FALSE);
        return 0;
      case WM_LBUTTONUP: {
        int hit = toolbar_hit(client_point(lp), dpi_), was = pressed_;
        pressed_ = -1;
        ReleaseCapture();
        InvalidateRect(w, nullptr, FALSE);
        if (hit >= 0 && hit == was) command(kToolButtons[hit].command);
        return 0;
      }
      default: break;
    }
  }
  return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

Outcome run_selection(COLORREF frame, bool to_clipboard, RECT& region, Picture& picture) {
  Session s(frame);
  if (!s.start()) return Outcome::Abandoned;
  return s.run(to_clipboard, region, picture);
}

}  // namespace capture
