// The framework's own controls: picture buttons, picture and shape boxes, drawing panels and
// tab pages. They are painted by code and are containers of other controls.
#include <windows.h>

#include <windowsx.h>

#include "base/encoding.h"
#include "base/text.h"
#include "platform/window_parts.h"

namespace tb {

using namespace detail;

void Window::paint_picture(Ctl& c, HDC dc, const RECT& r) {
  if (c.painter) {
    c.painter(dc, r, c.face);
    return;
  }
  theme::fill(dc, r, theme::kBody);
  switch (c.def->kind) {
    case Kind::PictureButton:
      theme::button_face(dc, r, c.def->text, c.face, scale_pct());
      break;
    case Kind::ShapeBox:
    case Kind::Tab:
      theme::frame(dc, r, theme::kBorder);
      break;
    case Kind::GroupBox: {
      // A thin frame with the caption set into its top line, as the flat look draws groups.
      const int half = scale(8);
      RECT box{r.left, r.top + half, r.right, r.bottom};
      theme::frame(dc, box, theme::kBorder);
      if (!c.def->text.empty()) {
        HFONT font = theme::ui_font(scale(12));
        HGDIOBJ old = SelectObject(dc, font);
        std::wstring w = to_wide(c.def->text);
        SIZE size{};
        GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
        SelectObject(dc, old);
        RECT cap{r.left + scale(6), r.top, r.left + scale(10) + size.cx, r.top + 2 * half};
        theme::fill(dc, cap, theme::kBody);
        theme::text(dc, cap, c.def->text, theme::kText, font);
      }
      break;
    }
    case Kind::DrawingPanel:
      if (c.dib) BitBlt(dc, 0, 0, c.dib.width(), c.dib.height(), c.dib.dc(), 0, 0, SRCCOPY);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK Window::container_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* c = reinterpret_cast<Ctl*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!c) return DefWindowProcW(h, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    return DefWindowProcW(h, msg, wp, lp);
  }
  Busy busy(c->owner);
  return c->owner->handle_container(*c, h, msg, wp, lp);
}

namespace {
constexpr int kHeaderWidth = 70, kHeaderHeight = 24;  // design pixels
}  // namespace

void Window::paint_tab_headers(const Ctl& c, HDC dc) {
  const int w = scale(kHeaderWidth), hh = scale(kHeaderHeight);
  RECT line{0, hh - 1, scale(c.def->w), hh};
  theme::fill(dc, line, theme::kBorder);
  const std::vector<std::string> names = split(c.def->text, "|");
  for (std::size_t i = 0; i < names.size(); ++i) {
    RECT r{static_cast<int>(i) * w, 0, static_cast<int>(i + 1) * w, hh};
    const bool current = static_cast<int>(i) == c.page;
    if (current) {
      theme::fill(dc, r, theme::kPanel);
      theme::frame(dc, r, theme::kBorder);
      RECT bar{r.left, r.top, r.right, r.top + scale(2)};
      theme::fill(dc, bar, theme::kAccent);
    }
    theme::text(dc, r, names[i], current ? theme::kText : theme::kMuted, theme::ui_font(scale(12), current));
  }
}

LRESULT Window::handle_container(Ctl& c, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  bool page = h != c.hwnd;  // a tab's page
  bool headers = page && (c.def->style & style::kTabHeaders);
  LRESULT r = 0;
  // Controls inside a container notify it; they are the window's controls all the same.
  if (notification(h, msg, wp, lp, r)) return r;
  if (msg == WM_SETCURSOR) add_pending_tooltips();
  if (drawn_message(h, msg, wp, lp, r)) return r;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_NCPAINT:
      if (lacks_frame(h)) return 0;
      break;
    case WM_PAINT:
      paint_client(h, [&](HDC dc, const RECT& rc) {
        if (page) theme::fill(dc, rc, theme::kBody);
        else paint_picture(c, dc, rc);
        if (headers) paint_tab_headers(c, dc);
        paint_drawn(h, dc);
      });
      return 0;
    case WM_LBUTTONDOWN:
      if (headers && GET_Y_LPARAM(lp) < scale(kHeaderHeight)) {
        const int i = GET_X_LPARAM(lp) / scale(kHeaderWidth);
        if (i != c.page && i < static_cast<int>(c.pages.size())) {
          select_page(c.def->name, i);
          fire(c.def->name, Event::Change);
        }
        return 0;
      }
      break;
    default:
      break;
  }
  if (page) return DefWindowProcW(h, msg, wp, lp);
  std::string_view name = c.def->name;
  bool button = c.def->kind == Kind::PictureButton;
  EventArgs a;
  a.x = GET_X_LPARAM(lp);
  a.y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_SETCURSOR:
      if (c.cursor) {
        SetCursor(c.cursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A fast second press is a press too: its release clicks like any other.
      if (button) {
        c.pressed = true;
        c.face = theme::Face::Pressed;
        SetCapture(h);
        InvalidateRect(h, nullptr, FALSE);
      }
      if (msg == WM_LBUTTONDBLCLK) fire(name, Event::DoubleClick, a);
      fire(name, Event::MouseDown, a);
      return 0;
    case WM_LBUTTONUP: {
      if (button && c.pressed) {
        c.pressed = false;
        ReleaseCapture();
        RECT rc;
        GetClientRect(h, &rc);
        POINT p{a.x, a.y};
        bool inside = PtInRect(&rc, p);
        c.face = inside ? theme::Face::Hover : theme::Face::Normal;
        InvalidateRect(h, nullptr, FALSE);
        fire(name, Event::MouseUp, a);
        if (inside) fire(name, Event::Click, a);
        return 0;
      }
      fire(name, Event::MouseUp, a);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (button && !c.tracking) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, h, 0};
        TrackMouseEvent(&t);
        c.tracking = true;
        if (!c.pressed) {
          c.face = theme::Face::Hover;
          InvalidateRect(h, nullptr, FALSE);
        }
      }
      fire(name, Event::MouseMove, a);
      return 0;
    case WM_MOUSELEAVE:
      c.tracking = false;
      if (!c.pressed) {
        c.face = theme::Face::Normal;
        InvalidateRect(h, nullptr, FALSE);
      }
      return 0;
    case WM_RBUTTONUP:
      fire(name, Event::RightClick, a);
      return 0;
    case WM_CAPTURECHANGED:
      if (button && c.pressed) {
        c.pressed = false;
        c.face = theme::Face::Normal;
        InvalidateRect(h, nullptr, FALSE);
      }
      if (reinterpret_cast<HWND>(lp) != h) fire(name, Event::CaptureLost, a);
      break;
    default:
      break;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

RECT Window::drawn_rect(const Ctl& c) const {
  const ControlDef& d = *c.def;
  return RECT{scale(d.x), scale(d.y), scale(d.x) + scale(d.w), scale(d.y) + scale(d.h)};
}

// The topmost drawn row shown at p in `container`: later rows lie above earlier ones, shape
// boxes beneath the rest, as their windows would.
Window::Ctl* Window::drawn_at(HWND container, POINT p) {
  if (!has_drawn_) return nullptr;
  Ctl* shape = nullptr;
  for (auto it = ctls_.rbegin(); it != ctls_.rend(); ++it) {
    Ctl& c = **it;
    if (!c.drawn || !c.placed || !c.shown) continue;
    RECT r = drawn_rect(c);
    if (!PtInRect(&r, p) || container_of(*c.def) != container) continue;
    if (c.def->kind != Kind::ShapeBox) return &c;
    if (!shape) shape = &c;
  }
  return shape;
}

void Window::paint_drawn(HWND container, HDC dc) {
  if (!has_drawn_) return;
  for (bool shapes : {true, false})
    for (auto& p : ctls_) {
      Ctl& c = *p;
      if (!c.drawn || !c.placed || !c.shown || (c.def->kind == Kind::ShapeBox) != shapes) continue;
      RECT r = drawn_rect(c);
      if (!RectVisible(dc, &r) || container_of(*c.def) != container) continue;
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
      SetViewportOrgEx(dc, r.left, r.top, nullptr);
      RECT local{0, 0, r.right - r.left, r.bottom - r.top};
      if (c.def->kind == Kind::TransparentLabel && !c.painter) {
        // As the label's window draws itself: its colours, the control font, wrapped lines.
        HBRUSH b = label_colours(c, dc);
        if (b && b != GetStockObject(NULL_BRUSH)) FillRect(dc, &local, b);
        SelectObject(dc, theme::ui_font(scale(12)));
        std::wstring w = to_wide(c.label);
        DrawTextW(dc, w.c_str(), -1, &local, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK);
      } else {
        paint_picture(c, dc, local);
      }
      RestoreDC(dc, saved);
    }
}

void Window::set_face(Ctl* c, theme::Face f) {
  if (!c || c->face == f) return;
  c->face = f;
  repaint(c->def->name);
}

// Mouse messages of a window or container over the rows it draws, turned into the events
// their windows would report. True when the message was a drawn row's.
bool Window::drawn_message(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
  if (!has_drawn_) return false;
  POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  auto args = [&](const Ctl& c) {
    RECT rc = drawn_rect(c);
    EventArgs a;
    a.x = p.x - rc.left;
    a.y = p.y - rc.top;
    return a;
  };
  auto pressed_here = [&] { return pressed_ && container_of(*pressed_->def) == h; };
  r = 0;
  switch (msg) {
    case WM_MOUSEMOVE: {
      Ctl* hit = drawn_at(h, p);
      if (hit != hot_) {
        if (hot_ && hot_ != pressed_) set_face(hot_, theme::Face::Normal);
        hot_ = hit;
        if (hit) {
          TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, h, 0};
          TrackMouseEvent(&t);
          if (hit->def->kind == Kind::PictureButton && hit != pressed_) set_face(hit, theme::Face::Hover);
        }
      }
      Ctl* to = pressed_here() ? pressed_ : hit;
      if (!to) return false;
      EventArgs a = args(*to);
      fire(to->def->name, Event::MouseMove, a);
      return true;
    }
    case WM_MOUSELEAVE:
      if (hot_ && hot_ != pressed_) set_face(hot_, theme::Face::Normal);
      hot_ = nullptr;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      Ctl* hit = drawn_at(h, p);
      if (!hit) return false;
      EventArgs a = args(*hit);
      std::string_view name = hit->def->name;
      if (hit->def->kind == Kind::TransparentLabel) {
        // A label reports a press as its click, a second fast press as a double click.
        if (msg == WM_LBUTTONDBLCLK) {
          fire(name, Event::DoubleClick, a);
        } else {
          fire(name, Event::MouseDown, a);
          fire(name, Event::Click, a);
        }
        return true;
      }
      // A fast second press is a press too: its release clicks like any other.
      if (hit->def->kind == Kind::PictureButton) {
        pressed_ = hit;
        set_face(hit, theme::Face::Pressed);
        SetCapture(h);
      }
      if (msg == WM_LBUTTONDBLCLK) fire(name, Event::DoubleClick, a);
      fire(name, Event::MouseDown, a);
      return true;
    }
    case WM_LBUTTONUP: {
      if (pressed_here()) {
        Ctl* c = pressed_;
        pressed_ = nullptr;
        ReleaseCapture();
        RECT rc = drawn_rect(*c);
        const bool inside = c->shown && PtInRect(&rc, p);
        set_face(c, inside ? theme::Face::Hover : theme::Face::Normal);
        EventArgs a = args(*c);
        fire(c->def->name, Event::MouseUp, a);
        if (inside) fire(c->def->name, Event::Click, a);
        return true;
      }
      Ctl* hit = drawn_at(h, p);
      if (!hit) return false;
      EventArgs a = args(*hit);
      fire(hit->def->name, Event::MouseUp, a);
      return true;
    }
    case WM_RBUTTONUP: {
      Ctl* hit = drawn_at(h, p);
      if (!hit) return false;
      EventArgs a = args(*hit);
      fire(hit->def->name, Event::RightClick, a);
      return true;
    }
    case WM_CAPTURECHANGED:
      if (pressed_here() && reinterpret_cast<HWND>(lp) != h) {
        Ctl* c = pressed_;
        pressed_ = nullptr;
        set_face(c, theme::Face::Normal);
        EventArgs a;
        fire(c->def->name, Event::CaptureLost, a);
      }
      return false;
    case WM_SETCURSOR: {
      if (reinterpret_cast<HWND>(wp) != h || LOWORD(lp) != HTCLIENT) return false;
      POINT at;
      GetCursorPos(&at);
      ScreenToClient(h, &at);
      Ctl* hit = drawn_at(h, at);
      if (!hit || !hit->cursor) return false;
      SetCursor(hit->cursor);
      r = TRUE;
      return true;
    }
    default:
      return false;
  }
}

bool Window::locate(std::string_view name, HWND& in, RECT& r) {
  Ctl* c = made(name);
  if (!c) return false;
  if (c->drawn) {
    if (!c->placed) return false;
    in = container_of(*c->def);
    r = drawn_rect(*c);
    return in != nullptr;
  }
  if (!c->hwnd) return false;
  in = c->hwnd;
  GetClientRect(c->hwnd, &r);
  return true;
}

bool Window::visible(std::string_view name) {
  HWND in = nullptr;
  RECT r;
  if (!locate(name, in, r)) return false;
  const Ctl* c = find(name);
  return IsWindowVisible(in) && (!c->drawn || c->shown);
}

}  // namespace tb
