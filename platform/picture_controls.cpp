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

}  // namespace tb
