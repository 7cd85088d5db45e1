// The framework's own controls: picture buttons, picture and shape boxes, group boxes, tabs
// and drawing panels, painted by code, and the host that gives every painted row, and every
// container, its pointer input.
#include <windows.h>

#include <windowsx.h>

#include <algorithm>

#include "base/encoding.h"
#include "base/text.h"
#include "platform/double_buffer.h"
#include "platform/hook.h"
#include "platform/kinds.h"

namespace tb {

using namespace detail;

void detail::paint_client(HWND h, const std::function<void(HDC, const RECT&)>& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc, box;
  GetClientRect(h, &rc);
  // Only what can show is buffered: a window larger than its parent (a large picture's
  // panel) would otherwise want a buffer of its whole size at every paint.
  if (GetClipBox(dc, &box) != NULLREGION && IntersectRect(&box, &box, &ps.rcPaint)) {
    DoubleBuffer buffer(dc, box);
    paint(buffer.dc(), rc);
  }
  EndPaint(h, &ps);
}

void attach_child(HWND h, ChildWindow* w) { SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w)); }

LRESULT CALLBACK detail::child_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* w = reinterpret_cast<ChildWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!w) return DefWindowProcW(h, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    return DefWindowProcW(h, msg, wp, lp);
  }
  return w->message(h, msg, wp, lp);
}

namespace {
// A thin frame with the caption set into its top line, as the flat look draws groups.
void group_box(HDC dc, const RECT& r, std::string_view caption, int half, int pct) {
  RECT box{r.left, r.top + half, r.right, r.bottom};
  theme::frame(dc, box, theme::kBorder);
  if (caption.empty()) return;
  HFONT font = theme::ui_font(MulDiv(12, pct, 100));
  std::wstring w = to_wide(caption);
  SIZE size{};
  {
    SelectGuard f(dc, font);
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
  }
  RECT cap{r.left + MulDiv(6, pct, 100), r.top, r.left + MulDiv(10, pct, 100) + size.cx, r.top + 2 * half};
  theme::fill(dc, cap, theme::kBody);
  theme::text(dc, cap, caption, theme::kText, font);
}
}  // namespace

void Control::paint(HDC dc, const RECT& r) {
  if (painter) {
    painter(dc, r, face);
    return;
  }
  theme::fill(dc, r, theme::kBody);
  switch (def_.kind) {
    case Kind::PictureButton: theme::button_face(dc, r, def_.text, face, window_.scale_pct()); break;
    case Kind::ShapeBox:
    case Kind::Tab: theme::frame(dc, r, theme::kBorder); break;
    case Kind::GroupBox: group_box(dc, r, def_.text, scale(8), window_.scale_pct()); break;
    default: break;
  }
}

// ---- Painted rows ----

// A row its container paints: no window of its own, its pointer input from the host.
class PaintedControl : public Control {
 public:
  PaintedControl(Window& w, const ControlDef& d, std::size_t index)
      : Control(w, d, index), label_(d.text), shown_(d.visible) {}
  void create() override {
    host_ = container_host();
    if (!host_) return;
    host_->add(this);
    repaint();
  }
  bool made() const override { return host_ != nullptr; }
  std::string text() const override { return label_; }
  void set_text(std::string_view t) override {
    label_ = std::string(t);
    repaint();
  }
  void show(bool on) override;
  bool visible() const override { return host_ && shown_ && IsWindowVisible(host_->hwnd()); }
  bool locate(HWND& in, RECT& r) const override {
    if (!host_) return false;
    in = host_->hwnd();
    r = area();
    return true;
  }
  void repaint() override {
    if (!host_) return;
    const RECT r = area();
    InvalidateRect(host_->hwnd(), &r, TRUE);
  }
  bool tool(TTTOOLINFOW& ti) const override {
    if (!host_ || !shown_) return false;
    ti.hwnd = host_->hwnd();
    ti.uId = static_cast<UINT_PTR>(id());
    ti.rect = area();
    return true;
  }
  void paint(HDC dc, const RECT& r) override;
  RECT area() const { return table_rect(); }
  bool shown() const { return shown_; }

 private:
  PaintedHost* host_ = nullptr;
  std::string label_;
  bool shown_;
};

void PaintedControl::show(bool on) {
  if (shown_ == on) return;
  repaint();  // where it was
  if (!on) {
    tooltip_follows(false);
    if (host_) host_->forget(this);
  }
  shown_ = on;
  face = theme::Face::Normal;
  if (on) tooltip_follows(true);
}

void PaintedControl::paint(HDC dc, const RECT& r) {
  if (def().kind != Kind::TransparentLabel || painter) return Control::paint(dc, r);
  // As the label's window draws itself: its colours, the control font, wrapped lines.
  HBRUSH b = label_colours(dc);
  if (b && b != GetStockObject(NULL_BRUSH)) FillRect(dc, &r, b);
  SelectObject(dc, theme::ui_font(scale(12)));
  std::wstring w = to_wide(label_);
  RECT box = r;
  DrawTextW(dc, w.c_str(), -1, &box, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK);
}

std::unique_ptr<Control> make_painted(Window& w, const ControlDef& d, std::size_t index) {
  return std::make_unique<PaintedControl>(w, d, index);
}

// ---- The host ----

void PaintedHost::add(PaintedControl* c) {
  auto at = std::upper_bound(rows_.begin(), rows_.end(), c,
                             [](const PaintedControl* a, const PaintedControl* b) { return a->index() < b->index(); });
  rows_.insert(at, c);
}

void PaintedHost::forget(Control* c) {
  if (hot_ == c) hot_ = nullptr;
  if (pressed_ != c) return;
  pressed_ = nullptr;
  ReleaseCapture();
}

Control* PaintedHost::at(POINT p) const {
  Control* shape = nullptr;
  for (auto it = rows_.rbegin(); it != rows_.rend(); ++it) {
    PaintedControl* c = *it;
    const RECT r = c->area();
    if (!c->shown() || !PtInRect(&r, p)) continue;
    if (c->def().kind != Kind::ShapeBox) return c;
    if (!shape) shape = c;
  }
  return shape;
}

// The row at p, else the container itself: a window only gets the mouse when it is over it
// or holds the capture.
Control* PaintedHost::hit(POINT p) const {
  Control* c = at(p);
  return c ? c : self_;
}

RECT PaintedHost::area(const Control* c) const {
  RECT r{};
  if (c == self_) GetClientRect(hwnd_, &r);
  else r = static_cast<const PaintedControl*>(c)->area();
  return r;
}

EventArgs PaintedHost::args(const Control* c, POINT p) const {
  const RECT r = area(c);
  EventArgs a;
  a.x = p.x - r.left;
  a.y = p.y - r.top;
  return a;
}

void PaintedHost::paint(HDC dc) {
  for (bool shapes : {true, false})
    for (PaintedControl* c : rows_) {
      if (!c->shown() || (c->def().kind == Kind::ShapeBox) != shapes) continue;
      const RECT r = c->area();
      if (!RectVisible(dc, &r)) continue;
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
      OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
      c->paint(dc, RECT{0, 0, r.right - r.left, r.bottom - r.top});
      RestoreDC(dc, saved);
    }
}

void PaintedHost::set_face(Control* c, theme::Face f) {
  if (!c || c->face == f) return;
  c->face = f;
  c->repaint();
}

bool PaintedHost::move(POINT p) {
  Control* under = hit(p);
  if (under != hot_) {
    if (hot_ && hot_ != pressed_) set_face(hot_, theme::Face::Normal);
    hot_ = under;
    if (under) {
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
      TrackMouseEvent(&t);
      if (under->def().kind == Kind::PictureButton && under != pressed_) set_face(under, theme::Face::Hover);
    }
  }
  Control* to = pressed_ ? pressed_ : under;
  if (!to) return false;
  EventArgs a = args(to, p);
  to->fire(Event::MouseMove, a);
  return true;
}

bool PaintedHost::press(UINT msg, POINT p) {
  Control* c = hit(p);
  if (!c) return false;
  EventArgs a = args(c, p);
  if (c->def().kind == Kind::TransparentLabel) {
    // A label reports a press as its click, a second fast press as a double click.
    if (msg == WM_LBUTTONDBLCLK) {
      c->fire(Event::DoubleClick, a);
    } else {
      c->fire(Event::MouseDown, a);
      c->fire(Event::Click, a);
    }
    return true;
  }
  // A fast second press is a press too: its release clicks like any other.
  if (c->def().kind == Kind::PictureButton) {
    pressed_ = c;
    set_face(c, theme::Face::Pressed);
    SetCapture(hwnd_);
  }
  if (msg == WM_LBUTTONDBLCLK) c->fire(Event::DoubleClick, a);
  c->fire(Event::MouseDown, a);
  return true;
}

bool PaintedHost::release(POINT p) {
  Control* c = pressed_;
  if (!c) {
    c = hit(p);
    if (!c) return false;
    EventArgs a = args(c, p);
    c->fire(Event::MouseUp, a);
    return true;
  }
  pressed_ = nullptr;
  ReleaseCapture();
  const RECT r = area(c);
  const bool inside = PtInRect(&r, p) && (c == self_ || static_cast<PaintedControl*>(c)->shown());
  set_face(c, inside ? theme::Face::Hover : theme::Face::Normal);
  EventArgs a = args(c, p);
  c->fire(Event::MouseUp, a);
  if (inside) c->fire(Event::Click, a);
  return true;
}

// The capture went elsewhere: a pressed button lets go; a container hears of it.
void PaintedHost::capture_changed(HWND to) {
  if (to == hwnd_) return;
  Control* c = pressed_;
  if (c) {
    pressed_ = nullptr;
    set_face(c, theme::Face::Normal);
  } else {
    c = self_;
  }
  if (!c) return;
  EventArgs a;
  c->fire(Event::CaptureLost, a);
}

bool PaintedHost::set_cursor(WPARAM wp, LPARAM lp, LRESULT& r) {
  if (reinterpret_cast<HWND>(wp) != hwnd_ || LOWORD(lp) != HTCLIENT) return false;
  POINT at;
  GetCursorPos(&at);
  ScreenToClient(hwnd_, &at);
  Control* c = hit(at);
  if (!c || !c->cursor) return false;
  SetCursor(c->cursor);
  r = TRUE;
  return true;
}

bool PaintedHost::message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
  if (rows_.empty() && !self_) return false;
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  r = 0;
  switch (msg) {
    case WM_MOUSEMOVE: return move(p);
    case WM_MOUSELEAVE:
      if (hot_ && hot_ != pressed_) set_face(hot_, theme::Face::Normal);
      hot_ = nullptr;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return press(msg, p);
    case WM_LBUTTONUP: return release(p);
    case WM_RBUTTONUP: {
      Control* c = hit(p);
      if (!c) return false;
      EventArgs a = args(c, p);
      c->fire(Event::RightClick, a);
      return true;
    }
    case WM_CAPTURECHANGED: capture_changed(reinterpret_cast<HWND>(lp)); return false;
    case WM_SETCURSOR: return set_cursor(wp, lp, r);
    default: return false;
  }
}

// ---- Containers ----

namespace {
// What every framework-made window does with its children's notifications, its frame and
// its background.
bool common_message(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
  if (reflect_notification(h, msg, wp, lp, r) || body_colours(msg, wp, r)) return true;
  r = 0;
  if (msg == WM_ERASEBKGND) r = 1;
  return msg == WM_ERASEBKGND || (msg == WM_NCPAINT && lacks_frame(h));
}
}  // namespace

void ContainerControl::attach() {
  attach_child(hwnd_, this);
  host_ = std::make_unique<PaintedHost>(hwnd_, this);
}

void ContainerControl::set_text(std::string_view t) {
  WindowedControl::set_text(t);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT ContainerControl::message(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Window::Busy busy(&window());
  LRESULT r = 0;
  if (common_message(h, msg, wp, lp, r)) return r;
  if (msg == WM_SETCURSOR) add_pending_tooltips();
  if (host_->message(msg, wp, lp, r)) return r;
  if (msg != WM_PAINT) return DefWindowProcW(h, msg, wp, lp);
  paint_client(h, [this](HDC dc, const RECT& rc) {
    paint(dc, rc);
    host_->paint(dc);
  });
  return 0;
}

// A tab's page: a window of its own for the rows on it, with their host.
class TabControl::Page : public ChildWindow {
 public:
  Page(TabControl& tab, HWND h) : tab_(tab), hwnd_(h), host_(h, nullptr) {}
  HWND hwnd() const { return hwnd_; }
  PaintedHost* host() { return &host_; }
  LRESULT message(HWND h, UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static constexpr int kHeaderWidth = 70, kHeaderHeight = 24;  // design pixels
  void paint_headers(HDC dc) const;
  TabControl& tab_;
  HWND hwnd_;
  PaintedHost host_;
};

// The page names as a row of headers that switch pages (style::kTabHeaders).
void TabControl::Page::paint_headers(HDC dc) const {
  const int w = tab_.scale(kHeaderWidth), hh = tab_.scale(kHeaderHeight);
  RECT line{0, hh - 1, tab_.scale(tab_.def().w), hh};
  theme::fill(dc, line, theme::kBorder);
  for (std::size_t i = 0; i < tab_.names_.size(); ++i) {
    RECT r{static_cast<int>(i) * w, 0, static_cast<int>(i + 1) * w, hh};
    const bool current = static_cast<int>(i) == tab_.page_;
    if (current) {
      theme::fill(dc, r, theme::kPanel);
      theme::frame(dc, r, theme::kBorder);
      RECT bar{r.left, r.top, r.right, r.top + tab_.scale(2)};
      theme::fill(dc, bar, theme::kAccent);
    }
    theme::text(dc, r, tab_.names_[i], current ? theme::kText : theme::kMuted, theme::ui_font(tab_.scale(12), current));
  }
}

LRESULT TabControl::Page::message(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Window::Busy busy(&tab_.window());
  LRESULT r = 0;
  if (common_message(h, msg, wp, lp, r)) return r;
  if (msg == WM_SETCURSOR) tab_.add_pending_tooltips();
  if (host_.message(msg, wp, lp, r)) return r;
  const bool headers = (tab_.def().style & style::kTabHeaders) != 0;
  if (msg == WM_PAINT) {
    paint_client(h, [&](HDC dc, const RECT& rc) {
      theme::fill(dc, rc, theme::kBody);
      if (headers) paint_headers(dc);
      host_.paint(dc);
    });
    return 0;
  }
  if (msg == WM_LBUTTONDOWN && headers && GET_Y_LPARAM(lp) < tab_.scale(kHeaderHeight)) {
    const int i = GET_X_LPARAM(lp) / tab_.scale(kHeaderWidth);
    if (i != tab_.page_ && i < tab_.pages()) {
      tab_.window().select_page(tab_.def().name, i);
      tab_.fire(Event::Change);
    }
    return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

TabControl::TabControl(Window& w, const ControlDef& d, std::size_t index)
    : ContainerControl(w, d, index), names_(split(d.text, "|")) {}
TabControl::~TabControl() = default;

void TabControl::prepare() {
  // Only the first page is made now; the others when they first show or get their rows.
  pages_.resize(names_.size());
  if (!pages_.empty()) page(0);
}

TabControl::Page* TabControl::page(int i) {
  if (i < 0 || i >= pages()) return nullptr;
  std::unique_ptr<Page>& p = pages_[static_cast<std::size_t>(i)];
  if (p || !hwnd_) return p.get();
  HWND h = CreateWindowExW(0, kContainerClass, to_wide(names_[static_cast<std::size_t>(i)]).c_str(),
                           WS_CHILD | WS_CLIPSIBLINGS | (i == page_ ? WS_VISIBLE : 0), 0, 0, scale(def().w),
                           scale(def().h), hwnd_, nullptr, g_inst, nullptr);
  if (!h) return nullptr;
  p = std::make_unique<Page>(*this, h);
  attach_child(h, p.get());
  return p.get();
}

HWND TabControl::inner(int i) {
  Page* p = page(i);
  return p ? p->hwnd() : hwnd_;
}

PaintedHost* TabControl::inner_host(int i) {
  Page* p = page(i);
  return p ? p->host() : host_.get();
}

void TabControl::select(int i) {
  page_ = i;
  page(i);
  for (int k = 0; k < pages(); ++k)
    if (Page* p = pages_[static_cast<std::size_t>(k)].get()) ShowWindow(p->hwnd(), k == i ? SW_SHOWNA : SW_HIDE);
}

void PanelControl::prepare() {
  dib_ = Dib::make(std::max(1, scale(def().w)), std::max(1, scale(def().h)));
  dib_.fill(theme::kBody);
}

void PanelControl::paint(HDC dc, const RECT& r) {
  if (painter) return Control::paint(dc, r);
  theme::fill(dc, r, theme::kBody);
  if (dib_) BitBlt(dc, 0, 0, dib_.width(), dib_.height(), dib_.dc(), 0, 0, SRCCOPY);
}

bool PanelControl::set_surface(Dib dib) {
  if (!hwnd_ || !dib) return false;
  dib_ = std::move(dib);
  SetWindowPos(hwnd_, nullptr, 0, 0, dib_.width(), dib_.height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, FALSE);
  return true;
}

Surface PanelControl::surface() {
  if (!dib_) return {};
  return Surface{dib_.dc(), dib_.pixels(), dib_.width(), dib_.height()};
}

std::unique_ptr<Control> make_container(Window& w, const ControlDef& d, std::size_t index) {
  if (d.kind == Kind::Tab) return std::make_unique<TabControl>(w, d, index);
  if (d.kind == Kind::DrawingPanel) return std::make_unique<PanelControl>(w, d, index);
  return std::make_unique<ContainerControl>(w, d, index);
}

}  // namespace tb
