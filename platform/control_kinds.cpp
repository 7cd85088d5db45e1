// The control kinds: how each is created from its table row, the operations on controls by
// stored name, and the notifications they send their parent.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "base/encoding.h"
#include "base/text.h"
#include "platform/hook.h"
#include "platform/tree.h"
#include "platform/window_parts.h"
#include "platform/late_bind.h"

namespace tb {

using namespace detail;

static_assert(style::kLabelNotify == SS_NOTIFY && style::kLabelCentredLine == SS_CENTERIMAGE &&
              style::kTreeEditLabels == TVS_EDITLABELS &&
              style::kTreeNoTooltips == TVS_NOTOOLTIPS);

namespace {

constexpr int kMenuBase = 40000;  // pop-up menu command ids: base + control index * 100 + item
const wchar_t* g_rich_class = L"RichEdit20W";

HBRUSH body_brush() {
  static GdiBrush b(CreateSolidBrush(theme::kBody));
  return b.get();
}

// Loaded on first use: the rich edit library is slow to load and most windows lack one.
const wchar_t* rich_class() {
  static const bool loaded = [] {
    if (LoadLibraryW(L"Msftedit.dll")) g_rich_class = MSFTEDIT_CLASS;
    else LoadLibraryW(L"riched20.dll");
    return true;
  }();
  (void)loaded;
  return g_rich_class;
}

struct KindStyle {
  const wchar_t* cls;
  DWORD style;
};

// Framed kinds get a thin single border: the toolbox's flat look, not sunken 3-D edges.
KindStyle kind_style(Kind k) {
  switch (k) {
    case Kind::Edit: return {L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL};
    case Kind::Label:
    case Kind::TransparentLabel: return {L"STATIC", SS_LEFT | SS_NOTIFY};
    case Kind::Button: return {L"BUTTON", WS_TABSTOP | BS_OWNERDRAW};
    case Kind::CheckBox: return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX};
    case Kind::Radio: return {L"BUTTON", BS_AUTORADIOBUTTON};
    case Kind::ListBox: return {L"LISTBOX", WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT};
    case Kind::Tree:
      return {WC_TREEVIEWW, WS_TABSTOP | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS};
    case Kind::RichEdit:
      return {rich_class(), WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                ES_AUTOHSCROLL | ES_WANTRETURN};
    case Kind::HScrollBar: return {L"SCROLLBAR", SBS_HORZ};
    case Kind::PictureButton:
    case Kind::ShapeBox:
    case Kind::PictureBox:
    case Kind::DrawingPanel:
    case Kind::GroupBox:
    case Kind::Tab: return {kContainerClass, 0};
    case Kind::Timer:
    case Kind::FileDrop:
    case Kind::PopupMenu: return {nullptr, 0};
  }
  return {nullptr, 0};
}

// Kinds that look different with the common controls' version 6: check boxes, radio
// buttons, lists, trees and anything with scroll bars. Edits with our thin border, labels,
// owner-drawn buttons and the framework's own containers look the same either way.
bool takes_current_look(Kind k, DWORD style) {
  if (style & (WS_VSCROLL | WS_HSCROLL)) return true;
  return k == Kind::CheckBox || k == Kind::Radio || k == Kind::ListBox || k == Kind::Tree || k == Kind::HScrollBar ||
         k == Kind::RichEdit;
}

}  // namespace

HWND Window::container_of(const ControlDef& d) const {
  if (d.parent.empty()) return hwnd_;
  const Ctl* p = find(d.parent);
  if (!p) return hwnd_;
  if (p->def->kind == Kind::Tab && d.page >= 0 && d.page < static_cast<int>(p->pages.size())) return p->pages[d.page];
  return p->hwnd ? p->hwnd : hwnd_;
}

void Window::add_control(std::size_t index) {
  const ControlDef& d = def_->controls[index];
  auto c = std::make_unique<Ctl>();
  c->owner = this;
  c->def = &d;
  c->index = index;
  if (d.kind == Kind::PopupMenu) c->items = split(d.text, "|");
  const bool drawable = d.kind == Kind::PictureButton || d.kind == Kind::PictureBox || d.kind == Kind::ShapeBox ||
                        d.kind == Kind::TransparentLabel;
  const auto& rows = def_->controls;
  if ((d.style & style::kDrawn) && drawable &&
      std::none_of(rows.begin(), rows.end(), [&d](const ControlDef& o) { return o.parent == d.name; })) {
    c->drawn = true;
    c->shown = d.visible;
    c->label = std::string(d.text);
    has_drawn_ = true;
  }
  if (d.kind == Kind::FileDrop) {
    TB_LATE(L"shell32.dll", DragAcceptFiles);
    if (DragAcceptFiles) DragAcceptFiles(hwnd_, TRUE);
  }
  by_name_.emplace(std::string(d.name), ctls_.size());
  ctls_.push_back(std::move(c));
}

void Window::create_control(std::size_t index) {
  Ctl* raw = ctls_[index].get();
  const ControlDef& d = *raw->def;
  if (d.tip_at != Tip::None) pending_tips_ = true;
  if (raw->drawn) {
    raw->placed = true;
    repaint(d.name);
    return;
  }
  KindStyle ks = kind_style(d.kind);
  if (!ks.cls) return;
  HWND parent = container_of(d);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (d.visible ? WS_VISIBLE : 0) | ks.style;
  const auto rows = def_->controls.begin();
  if (d.kind == Kind::Radio && std::none_of(rows, rows + static_cast<std::ptrdiff_t>(index),
                                            [](const ControlDef& o) { return o.kind == Kind::Radio; }))
    style |= WS_GROUP | WS_TABSTOP;  // the first radio button starts the one group
  style = ((style | d.style) & ~d.style_off) & ~style::kDrawn;
  if (d.kind == Kind::Edit && (style & style::kLiveBox)) {
    style &= ~style::kLiveBox;
    raw->live = !(style & (ES_MULTILINE | ES_PASSWORD | ES_CENTER | ES_RIGHT));
  }
  std::wstring text = to_wide(d.text);
  if (d.kind == Kind::Tree || d.kind == Kind::HScrollBar) text.clear();
  if (d.kind == Kind::Tree) need_common_controls();
  std::optional<CommonControlsLook> look;
  if (takes_current_look(d.kind, style)) look.emplace();
  HWND h = CreateWindowExW(d.ex_style, ks.cls, text.c_str(), style, scale(d.x), scale(d.y), scale(d.w), scale(d.h),
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(raw->id())), g_inst, nullptr);
  look.reset();
  raw->hwnd = h;
  if (!h) return;
  // Wine's edit takes a plain border into its client area and draws it when it paints.
  raw->frame_in_client = raw->live && (style & WS_BORDER) && !(GetWindowLongPtrW(h, GWL_STYLE) & WS_BORDER);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(theme::ui_font(scale(12))), FALSE);
  if (ks.cls == kContainerClass) {
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(raw));
    if (d.kind == Kind::Tab) {
      // Only the first page is made now; the others when they first show or get their rows.
      raw->pages.assign(split(d.text, "|").size(), nullptr);
      if (!raw->pages.empty()) tab_page(*raw, 0);
    }
  } else {
    hook_window(h, [raw](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
      Busy busy(raw->owner);
      return raw->owner->control_message(*raw, msg, wp, lp, r);
    });
  }
  if (d.kind == Kind::RichEdit) SendMessageW(h, EM_SETEVENTMASK, 0, ENM_CHANGE);
  if (d.kind == Kind::HScrollBar) set_scroll(d.name, 1, 100, 10, 1);
  if (d.kind == Kind::DrawingPanel) {
    raw->dib = Dib::make(std::max(1, scale(d.w)), std::max(1, scale(d.h)));
    raw->dib.fill(theme::kBody);
  }
}

HWND Window::tab_page(Ctl& tab, int i) {
  if (i < 0 || i >= static_cast<int>(tab.pages.size())) return nullptr;
  HWND& page = tab.pages[static_cast<std::size_t>(i)];
  if (page || !tab.hwnd) return page;
  const std::vector<std::string> names = split(tab.def->text, "|");
  page = CreateWindowExW(0, kContainerClass, to_wide(names[static_cast<std::size_t>(i)]).c_str(),
                         WS_CHILD | WS_CLIPSIBLINGS | (i == tab.page ? WS_VISIBLE : 0), 0, 0, scale(tab.def->w),
                         scale(tab.def->h), tab.hwnd, nullptr, g_inst, nullptr);
  // A page carries its tab's record; it is told apart from the tab by its handle.
  if (page) SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&tab));
  return page;
}

bool Window::renew(std::string_view name) {
  Ctl* c = made(name);
  if (!c || !c->hwnd || is_container(c->def->kind)) return false;
  const ControlDef& d = *c->def;
  HWND old = c->hwnd, parent = GetParent(old);
  HWND above = GetWindow(old, GW_HWNDPREV);
  const bool focused = GetFocus() == old;
  RECT r;
  GetWindowRect(old, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const DWORD shown = GetWindowLongPtrW(old, GWL_STYLE) & WS_VISIBLE;
  KindStyle ks = kind_style(d.kind);
  const DWORD style = ((WS_CHILD | WS_CLIPSIBLINGS | shown | ks.style | d.style) & ~d.style_off) &
                      ~(d.kind == Kind::Edit ? style::kLiveBox : 0) & ~style::kDrawn;
  c->hwnd = nullptr;  // its hooks go with it
  c->held.reset();
  DestroyWindow(old);
  std::optional<CommonControlsLook> look;
  if (takes_current_look(d.kind, style)) look.emplace();
  HWND h = CreateWindowExW(d.ex_style, ks.cls, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->id())), g_inst, nullptr);
  c->hwnd = h;
  if (!h) return false;
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(theme::ui_font(scale(12))), FALSE);
  Ctl* raw = c;
  hook_window(h, [raw](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& res) {
    Busy busy(raw->owner);
    return raw->owner->control_message(*raw, msg, wp, lp, res);
  });
  if (d.kind == Kind::RichEdit) SendMessageW(h, EM_SETEVENTMASK, 0, ENM_CHANGE);
  SetWindowPos(h, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (focused) SetFocus(h);
  return true;
}

namespace {
// Draws a live box's held text where and as the edit draws its own: the edit's colours from
// its parent, its font, at its formatting rectangle, from the first character (where an edit
// stands after its text was set).
void draw_held(HDC dc, HWND h, const std::wstring& text, bool frame) {
  RECT rc, fr;
  GetClientRect(h, &rc);
  const bool enabled = IsWindowEnabled(h);
  const bool grey = !enabled || (GetWindowLongPtrW(h, GWL_STYLE) & ES_READONLY);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(h), grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                     reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
  FillRect(dc, &rc, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
  if (frame) FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SendMessageW(h, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&fr));
  SelectGuard font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
  ExtTextOutW(dc, fr.left, fr.top, ETO_CLIPPED, &fr, text.data(), static_cast<UINT>(text.size()), nullptr);
}
}  // namespace

void Window::hand_over(Ctl& c) {
  if (!c.held || !c.hwnd) return;
  std::wstring t = std::move(*c.held);
  c.held.reset();
  c.handing = true;  // its change was reported when the program set it
  SetWindowTextW(c.hwnd, t.c_str());
  c.handing = false;
}

// A live box answers for its held text; any message that may need the edit's own text
// (focus, keys, clicks, selection, printing) first hands it over.
bool Window::live_box_message(Ctl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
  const std::wstring& t = *c.held;
  switch (msg) {
    case WM_GETTEXT: {
      if (wp == 0) {
        r = 0;
        return true;
      }
      const std::size_t n = std::min<std::size_t>(t.size(), static_cast<std::size_t>(wp) - 1);
      auto* out = reinterpret_cast<wchar_t*>(lp);
      std::copy_n(t.data(), n, out);
      out[n] = L'\0';
      r = static_cast<LRESULT>(n);
      return true;
    }
    case WM_GETTEXTLENGTH:
      r = static_cast<LRESULT>(t.size());
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(c.hwnd, &ps);
      draw_held(dc, c.hwnd, t, c.frame_in_client);
      EndPaint(c.hwnd, &ps);
      r = 0;
      return true;
    }
    case WM_SETTEXT:  // set from outside the framework: the edit takes it
    case WM_DESTROY:
    case WM_NCDESTROY:
      c.held.reset();
      return false;
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
    case WM_GETFONT:
    case EM_GETRECT:
    case WM_GETDLGCODE:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_MOVE:
    case WM_SIZE:
    case WM_NCCALCSIZE:
    case WM_SHOWWINDOW:
      return false;
    default:
      // A parent's notification reflected to the box (its colours, its own reports) needs
      // no text.
      if (msg < kReflected) hand_over(c);
      return false;
  }
}

// Messages of a standard control, before its own procedure.
bool Window::control_message(Ctl& c, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
  if (c.held && live_box_message(c, msg, wp, lp, r)) return true;
  if (msg == WM_NCPAINT && lacks_frame(c.hwnd)) {
    r = 0;
    return true;
  }
  std::string_view name = c.def->name;
  EventArgs a;
  a.x = GET_X_LPARAM(lp);
  a.y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_KEYDOWN:
      a.key = static_cast<unsigned>(wp);
      if (fire(name, Event::KeyDown, a)) {
        c.swallow_char = true;
        r = 0;
        return true;
      }
      c.swallow_char = false;
      return false;
    case WM_CHAR:
      if (c.swallow_char) {
        c.swallow_char = false;
        r = 0;
        return true;
      }
      return false;
    case WM_LBUTTONDOWN:
      fire(name, Event::MouseDown, a);
      return false;
    case WM_LBUTTONUP:
      fire(name, Event::MouseUp, a);
      return false;
    case WM_RBUTTONUP:
      fire(name, Event::RightClick, a);
      return false;
    default:
      return false;
  }
}

void Window::add_pending_tooltips() {
  if (!pending_tips_) return;
  pending_tips_ = false;
  for (const auto& c : ctls_)
    if (c->def->tip_at != Tip::None && !c->tip_added) add_tooltip(*c);
}

void Window::add_tooltip(Ctl& c) {
  if (!c.hwnd && !(c.drawn && c.placed && c.shown)) return;
  c.tip_added = true;
  if (!tooltip_) {
    need_common_controls();
    // Plain (not balloon) tips that show while the window is inactive too. Not owned by
    // the window: under Wine an owned topmost pop-up keeps its owner from becoming topmost.
    CommonControlsLook look;
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, g_inst,
                               nullptr);
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(theme::ui_font(scale(12))), FALSE);
  }
  std::wstring w = to_wide(c.def->tip);
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_SUBCLASS | (c.def->tip_at == Tip::AtPointer ? 0 : TTF_CENTERTIP);
  if (c.drawn) {
    // A rectangle of its container.
    ti.hwnd = container_of(*c.def);
    ti.uId = static_cast<UINT_PTR>(c.id());
    ti.rect = drawn_rect(c);
  } else {
    ti.uFlags |= TTF_IDISHWND;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(c.hwnd);
  }
  ti.lpszText = w.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

// A transparent label's colours, asked of its Colour handler first: the text colour and mode
// set into `dc`, and the brush for its background (the null brush: none).
HBRUSH Window::label_colours(Ctl& c, HDC dc) {
  EventArgs a;
  a.dc = dc;
  if (fire(c.def->name, Event::Colour, a)) return reinterpret_cast<HBRUSH>(a.result);
  SetTextColor(dc, theme::kText);
  // A label lying on the caption band (a small window's title) reads in the band's colour.
  if (def_->caption_bar && c.def->parent.empty() && c.def->y < theme::kCaptionHeight)
    SetTextColor(dc, theme::kCaptionText);
  SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

bool Window::set_surface(std::string_view name, Dib dib) {
  Ctl* c = made(name);
  if (!c || c->def->kind != Kind::DrawingPanel || !c->hwnd || !dib) return false;
  c->dib = std::move(dib);
  SetWindowPos(c->hwnd, nullptr, 0, 0, c->dib.width(), c->dib.height(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(c->hwnd, nullptr, FALSE);
  return true;
}

Surface Window::surface(std::string_view name) {
  Ctl* c = made(name);
  if (!c || !c->dib) return {};
  return Surface{c->dib.dc(), c->dib.pixels(), c->dib.width(), c->dib.height()};
}

Window::Ctl* Window::find(std::string_view name) {
  auto it = by_name_.find(name);
  if (it == by_name_.end()) {
    note_unknown(name);
    return nullptr;
  }
  return ctls_[it->second].get();
}
const Window::Ctl* Window::find(std::string_view name) const {
  auto it = by_name_.find(name);
  if (it == by_name_.end()) {
    note_unknown(name);
    return nullptr;
  }
  return ctls_[it->second].get();
}
Window::Ctl* Window::by_hwnd(HWND h) {
  if (!h) return nullptr;
  for (auto& c : ctls_)
    if (c->hwnd == h) return c.get();
  return nullptr;
}
Window::Ctl* Window::by_id(int id) {
  std::size_t i = static_cast<std::size_t>(id - kFirstControlId);
  return (id >= kFirstControlId && i < ctls_.size()) ? ctls_[i].get() : nullptr;
}

HWND Window::control(std::string_view name) const {
  // Asking for the window of a row on a page not yet shown makes that page's windows.
  const Ctl* c = const_cast<Window*>(this)->made(name);
  return c ? c->hwnd : nullptr;
}
const ControlDef* Window::control_def(std::string_view name) const {
  const Ctl* c = find(name);
  return c ? c->def : nullptr;
}

void Window::set_painter(std::string_view name, Painter p) {
  if (name.empty()) {
    background_ = std::move(p);
  } else if (Ctl* c = find(name)) {
    c->painter = std::move(p);
  }
  repaint(name);
}

void Window::repaint(std::string_view name) {
  const Ctl* c = name.empty() ? nullptr : find(name);
  if (c && c->drawn) {
    if (!c->placed) return;
    RECT r = drawn_rect(*c);
    if (HWND in = container_of(*c->def)) InvalidateRect(in, &r, TRUE);
    return;
  }
  HWND h = name.empty() ? hwnd_ : c ? c->hwnd : nullptr;  // one not yet made paints when it is
  if (h) InvalidateRect(h, nullptr, TRUE);
}

std::string Window::text(std::string_view name) const {
  if (const Ctl* c = name.empty() ? nullptr : find(name); c && c->drawn) return c->label;
  HWND h = name.empty() ? hwnd_ : control(name);
  if (!h) return {};
  int n = GetWindowTextLengthW(h);
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  n = GetWindowTextW(h, w.data(), n + 1);
  w.resize(static_cast<std::size_t>(std::max(n, 0)));
  return to_gbk(w);
}

void Window::set_text(std::string_view name, std::string_view t) {
  if (Ctl* c = name.empty() ? nullptr : find(name); c && c->drawn) {
    c->label = std::string(t);
    repaint(name);
    return;
  }
  HWND h = name.empty() ? hwnd_ : control(name);
  if (!h) return;
  Ctl* c = name.empty() ? nullptr : find(name);
  if (c && c->live && GetFocus() != h) {
    // Kept and drawn by the framework at once (a repaint would cost as much again); reported
    // as the edit reports a text set.
    c->held = to_wide(t);
    if (IsWindowVisible(h)) {
      WindowDc dc(h);
      if (dc) draw_held(dc.get(), h, *c->held, c->frame_in_client);
    } else {
      InvalidateRect(h, nullptr, FALSE);
    }
    fire(name, Event::Change);
    return;
  }
  SetWindowTextW(h, to_wide(t).c_str());
  if (c && c->def->kind == Kind::TransparentLabel) {
    // A transparent label draws no background: let its container repaint under it.
    RECT r;
    GetWindowRect(h, &r);
    HWND parent = GetParent(h);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(parent, &r, TRUE);
  } else if (c && is_container(c->def->kind)) {
    InvalidateRect(h, nullptr, TRUE);
  }
}

void Window::show(std::string_view name, bool visible) {
  Ctl* c = find(name);
  if (c && c->drawn) {
    if (c->shown == visible) return;
    repaint(name);  // where it was
    c->shown = visible;
    if (!visible) {
      if (hot_ == c) hot_ = nullptr;
      if (pressed_ == c) {
        pressed_ = nullptr;
        c->face = theme::Face::Normal;
        ReleaseCapture();
      }
      c->face = theme::Face::Normal;
    }
    // A hidden row shows no tooltip; a row shown again gets its own back with the mouse.
    if (c->tip_added && tooltip_ && !visible) {
      TTTOOLINFOW ti{};
      ti.cbSize = sizeof ti;
      ti.hwnd = container_of(*c->def);
      ti.uId = static_cast<UINT_PTR>(c->id());
      SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
      c->tip_added = false;
    }
    if (visible && c->def->tip_at != Tip::None) pending_tips_ = true;
    return;
  }
  if (HWND h = control(name)) ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
}

bool Window::checked(std::string_view name) const {
  HWND h = control(name);
  return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::set_checked(std::string_view name, bool on) {
  if (HWND h = control(name)) SendMessageW(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Window::select_page(std::string_view tab, int page) {
  Ctl* c = find(tab);
  if (!c || page < 0 || page >= static_cast<int>(c->pages.size())) return;
  c->page = page;
  open_page({static_cast<int>(c->index), page});  // made before the page shows
  tab_page(*c, page);
  for (std::size_t i = 0; i < c->pages.size(); ++i)
    if (c->pages[i]) ShowWindow(c->pages[i], static_cast<int>(i) == page ? SW_SHOWNA : SW_HIDE);
}

int Window::selected_page(std::string_view tab) const {
  const Ctl* c = find(tab);
  return c ? c->page : -1;
}

void Window::set_timer(std::string_view name, unsigned ms) {
  if (Ctl* c = find(name)) SetTimer(hwnd_, static_cast<UINT_PTR>(c->id()), ms, nullptr);
}

void Window::kill_timer(std::string_view name) {
  if (Ctl* c = find(name)) KillTimer(hwnd_, static_cast<UINT_PTR>(c->id()));
}

void Window::set_scroll(std::string_view name, int min, int max, int page, int pos) {
  Ctl* c = made(name);
  if (!c || !c->hwnd) return;
  c->page_step = page;
  // The page step is a step, not a thumb size: with a thumb of the page's size the last
  // positions of the range could never be reached.
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, min, max, 0, pos, 0};
  SetScrollInfo(c->hwnd, SB_CTL, &si, TRUE);
}

int Window::scroll_pos(std::string_view name) const {
  HWND h = control(name);
  if (!h) return 0;
  SCROLLINFO si{sizeof si, SIF_POS};
  GetScrollInfo(h, SB_CTL, &si);
  return si.nPos;
}

void Window::set_cursor(std::string_view name, HCURSOR cur) {
  if (Ctl* c = find(name)) {
    c->cursor = cur;
    POINT p;
    GetCursorPos(&p);
    if (c->hwnd && (WindowFromPoint(p) == c->hwnd || GetCapture() == c->hwnd))
      SetCursor(cur ? cur : LoadCursorW(nullptr, IDC_ARROW));
  }
}

void Window::set_topmost(bool on) {
  SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Window::show_popup_menu(std::string_view name) {
  Ctl* c = find(name);
  if (!c || c->items.empty()) return;
  HMENU m = CreatePopupMenu();
  for (std::size_t i = 0; i < c->items.size(); ++i)
    if (c->items[i] == "-") AppendMenuW(m, MF_SEPARATOR, 0, nullptr);  // keeps its place in the item numbers
    else AppendMenuW(m, MF_STRING, static_cast<UINT_PTR>(kMenuBase + c->index * 100 + i), to_wide(c->items[i]).c_str());
  POINT p;
  GetCursorPos(&p);
  SetForegroundWindow(hwnd_);
  int cmd = TrackPopupMenu(m, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd_, nullptr);
  DestroyMenu(m);
  if (cmd > 0) {
    EventArgs a;
    a.item = cmd - kMenuBase - static_cast<int>(c->index) * 100;
    fire(c->def->name, Event::Menu, a);
  }
}

bool Window::scroll(Ctl& c, WPARAM wp) {
  SCROLLINFO si{sizeof si, SIF_ALL};
  GetScrollInfo(c.hwnd, SB_CTL, &si);
  int pos = si.nPos;
  switch (LOWORD(wp)) {
    case SB_LINELEFT: pos -= c.line_step; break;
    case SB_LINERIGHT: pos += c.line_step; break;
    case SB_PAGELEFT: pos -= c.page_step; break;
    case SB_PAGERIGHT: pos += c.page_step; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_LEFT: pos = si.nMin; break;
    case SB_RIGHT: pos = si.nMax; break;
    default: break;
  }
  pos = std::clamp(pos, si.nMin, si.nMax);
  if (pos != si.nPos) {
    SCROLLINFO set{sizeof set, SIF_POS, 0, 0, 0, pos, 0};
    SetScrollInfo(c.hwnd, SB_CTL, &set, TRUE);
    EventArgs a;
    a.pos = pos;
    fire(c.def->name, Event::Scroll, a);
  }
  return true;
}

// A parent's notifications: first offered to the control they concern (a control with a
// hook of its own answers for itself), then turned into the events of the framework's kinds.
bool Window::notification(HWND receiver, UINT msg, WPARAM wp, LPARAM lp, LRESULT& out) {
  if (reflect_notification(receiver, msg, wp, lp, out)) return true;
  switch (msg) {
    case WM_COMMAND: {
      int code = HIWORD(wp);
      Ctl* c = lp ? by_id(LOWORD(wp)) : nullptr;
      if (!c) return false;
      std::string_view n = c->def->name;
      switch (c->def->kind) {
        case Kind::Button:
          // An owner-drawn button reports a fast second click as a double click: still a click.
          if (code == BN_CLICKED || code == BN_DOUBLECLICKED) fire(n, Event::Click);
          break;
        case Kind::CheckBox:
        case Kind::Radio:
          if (code == BN_CLICKED) fire(n, Event::Click);
          break;
        case Kind::Edit:
        case Kind::RichEdit:
          if (code == EN_CHANGE && !c->handing) fire(n, Event::Change);
          if (code == EN_SETFOCUS) fire(n, Event::Focus);
          break;
        case Kind::ListBox:
          if (code == LBN_SELCHANGE) fire(n, Event::Change);
          if (code == LBN_DBLCLK) fire(n, Event::DoubleClick);
          if (code == LBN_SETFOCUS) fire(n, Event::Focus);
          break;
        case Kind::Label:
        case Kind::TransparentLabel:
          if (code == STN_CLICKED) fire(n, Event::Click);
          if (code == STN_DBLCLK) fire(n, Event::DoubleClick);
          break;
        default:
          break;
      }
      out = 0;
      return true;
    }
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lp);
      Ctl* c = by_hwnd(nm->hwndFrom);
      if (!c) return false;
      std::string_view n = c->def->name;
      out = 0;
      switch (nm->code) {
        case TVN_SELCHANGEDW: fire(n, Event::Change); break;
        case NM_DBLCLK: fire(n, Event::DoubleClick); break;
        case NM_RCLICK: fire(n, Event::RightClick); break;
        case NM_SETFOCUS: fire(n, Event::Focus); break;
        case TVN_BEGINLABELEDITW:
          c->editing = true;
          break;
        case TVN_ENDLABELEDITW: {
          // One answer per edit: the tree can report the end again while it tears its edit
          // box down (losing the focus ends an edit too).
          if (!c->editing) break;
          c->editing = false;
          auto* di = reinterpret_cast<NMTVDISPINFOW*>(lp);
          std::optional<std::string> label = edited_label(di);
          if (!label) break;  // cancelled: the old label stays
          EventArgs a;
          a.text = std::move(*label);
          a.node = reinterpret_cast<std::intptr_t>(di->item.hItem);
          // Taken only when a handler is there and does not refuse it: the label must never
          // show a name that nothing applied.
          bool refused = fire(n, Event::Rename, a) && !a.result;
          out = bound(n, Event::Rename) && !refused ? TRUE : FALSE;
          break;
        }
        default: break;
      }
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(wp);
      Ctl* c = by_hwnd(reinterpret_cast<HWND>(lp));
      if (c && c->def->kind != Kind::TransparentLabel) {
        EventArgs a;
        a.dc = dc;
        if (fire(c->def->name, Event::Colour, a)) {
          out = a.result;
          return true;
        }
      }
      if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) return false;  // the system's white
      if (c && c->def->kind == Kind::TransparentLabel) {
        out = reinterpret_cast<LRESULT>(label_colours(*c, dc));
        return true;
      }
      SetTextColor(dc, theme::kText);
      SetBkColor(dc, theme::kBody);
      out = reinterpret_cast<LRESULT>(body_brush());
      return true;
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      Ctl* c = by_hwnd(di->hwndItem);
      if (!c || c->def->kind != Kind::Button) return false;
      theme::Face f = (di->itemState & ODS_SELECTED) ? theme::Face::Pressed : theme::Face::Normal;
      std::string label = text(c->def->name);
      theme::button_face(di->hDC, di->rcItem, label, f, scale_pct());
      if (di->itemState & ODS_FOCUS) {
        RECT fr = di->rcItem;
        InflateRect(&fr, -scale(3), -scale(3));
        DrawFocusRect(di->hDC, &fr);
      }
      out = TRUE;
      return true;
    }
    case WM_HSCROLL: {
      Ctl* c = by_hwnd(reinterpret_cast<HWND>(lp));
      if (!c) return false;
      out = 0;
      return scroll(*c, wp);
    }
    default:
      return false;
  }
}

}  // namespace tb
