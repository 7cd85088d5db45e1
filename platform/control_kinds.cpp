// The standard controls: one window each, made by one function whether a window is built or
// a control renewed, and each answering its own notifications, reflected by its parent.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include <algorithm>

#include "base/encoding.h"
#include "base/text.h"
#include "platform/control.h"
#include "platform/hook.h"
#include "platform/kinds.h"
#include "platform/tree.h"

namespace tb {

using namespace detail;

static_assert(style::kLabelNotify == SS_NOTIFY && style::kLabelCentredLine == SS_CENTERIMAGE &&
              style::kTreeEditLabels == TVS_EDITLABELS && style::kTreeNoTooltips == TVS_NOTOOLTIPS);

namespace {

// Loaded on first use: the rich edit library is slow to load and most windows lack one.
const wchar_t* rich_class() {
  static const wchar_t* cls = [] {
    if (LoadLibraryW(L"Msftedit.dll")) return MSFTEDIT_CLASS;
    LoadLibraryW(L"riched20.dll");
    return L"RichEdit20W";
  }();
  return cls;
}

// Kinds that look different with the common controls' version 6: check boxes, radio
// buttons, lists, trees and anything with scroll bars. Edits with our thin border, labels,
// buttons we paint and the framework's own containers look the same either way.
bool takes_current_look(Kind k, DWORD style) {
  if (style & (WS_VSCROLL | WS_HSCROLL)) return true;
  return k == Kind::CheckBox || k == Kind::Radio || k == Kind::ListBox || k == Kind::Tree || k == Kind::HScrollBar ||
         k == Kind::RichEdit;
}

}  // namespace

// ---- Every control ----

HBRUSH Control::label_colours(HDC dc) const {
  EventArgs a;
  a.dc = dc;
  if (fire(Event::Colour, a)) return reinterpret_cast<HBRUSH>(a.result);
  SetTextColor(dc, theme::kText);
  // A label lying on the caption band (a small window's title) reads in the band's colour.
  const WindowDef* w = window_.def();
  if (w && w->caption_bar && def_.parent.empty() && def_.y < theme::kCaptionHeight)
    SetTextColor(dc, theme::kCaptionText);
  SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

bool detail::body_colours(UINT msg, WPARAM wp, LRESULT& r) {
  if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return false;
  static GdiBrush body(CreateSolidBrush(theme::kBody));
  HDC dc = reinterpret_cast<HDC>(wp);
  SetTextColor(dc, theme::kText);
  SetBkColor(dc, theme::kBody);
  r = reinterpret_cast<LRESULT>(body.get());
  return true;
}

// ---- Windowed controls ----

HWND WindowedControl::open_window(HWND parent, const RECT& r, DWORD shown, const std::wstring& text) {
  const ControlDef& d = def();
  DWORD style = ((WS_CHILD | WS_CLIPSIBLINGS | shown | kind_style() | d.style) & ~d.style_off) & ~kFrameworkBits;
  before_create();
  std::optional<CommonControlsLook> look;
  if (takes_current_look(d.kind, style)) look.emplace();
  hwnd_ = CreateWindowExW(d.ex_style, window_class(), text.c_str(), style, r.left, r.top, r.right - r.left,
                          r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id())), g_inst, nullptr);
  look.reset();
  if (!hwnd_) return nullptr;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(theme::ui_font(scale(12))), FALSE);
  attach();
  prepare();
  return hwnd_;
}

void WindowedControl::create() {
  open_window(container(), table_rect(), def().visible ? WS_VISIBLE : 0, initial_text());
}

std::wstring WindowedControl::initial_text() const { return to_wide(def().text); }

void WindowedControl::attach() {
  hook_window(hwnd_, [this](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
    Window::Busy busy(&window());
    if (msg >= kReflected) return reflected(msg - kReflected, wp, lp, r);
    return own_message(hwnd_, msg, wp, lp, r);
  });
}

bool WindowedControl::renew() {
  if (!hwnd_) return false;
  HWND old = hwnd_, parent = GetParent(old);
  HWND above = GetWindow(old, GW_HWNDPREV);
  const bool focused = GetFocus() == old;
  RECT r;
  GetWindowRect(old, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const DWORD shown = GetWindowLongPtrW(old, GWL_STYLE) & WS_VISIBLE;
  hwnd_ = nullptr;  // its hooks go with it
  DestroyWindow(old);
  if (!open_window(parent, r, shown, L"")) return false;
  SetWindowPos(hwnd_, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (focused) SetFocus(hwnd_);
  return true;
}

std::string WindowedControl::text() const {
  if (!hwnd_) return {};
  int n = GetWindowTextLengthW(hwnd_);
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd_, w.data(), n + 1);
  w.resize(static_cast<std::size_t>(std::max(n, 0)));
  return to_gbk(w);
}

void WindowedControl::set_text(std::string_view t) {
  if (hwnd_) SetWindowTextW(hwnd_, to_wide(t).c_str());
}

void WindowedControl::show(bool on) {
  if (hwnd_) ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE);
}

bool WindowedControl::visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

bool WindowedControl::locate(HWND& in, RECT& r) const {
  if (!hwnd_) return false;
  in = hwnd_;
  return GetClientRect(hwnd_, &r) != FALSE;
}

void WindowedControl::repaint() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

bool WindowedControl::tool(TTTOOLINFOW& ti) const {
  if (!hwnd_) return false;
  ti.uFlags |= TTF_IDISHWND;
  ti.hwnd = window().hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  return true;
}

bool WindowedControl::own_message(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
  if (msg == WM_NCPAINT && lacks_frame(h)) {
    r = 0;
    return true;
  }
  EventArgs a;
  a.x = GET_X_LPARAM(lp);
  a.y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_KEYDOWN:
      a.key = static_cast<unsigned>(wp);
      swallow_char_ = fire(Event::KeyDown, a);
      if (swallow_char_) r = 0;
      return swallow_char_;
    case WM_CHAR:
      if (!swallow_char_) return false;
      swallow_char_ = false;  // the handled key's character
      r = 0;
      return true;
    case WM_LBUTTONDOWN: fire(Event::MouseDown, a); return false;
    case WM_LBUTTONUP: fire(Event::MouseUp, a); return false;
    case WM_RBUTTONUP:  // answered, the control's own menu does not show
      if (!fire(Event::RightClick, a)) return false;
      r = 0;
      return true;
    default: return false;
  }
}

// A colour asked of the control's handler first; statics and buttons then take the body's.
bool WindowedControl::reflected(UINT msg, WPARAM wp, LPARAM, LRESULT& r) {
  if (msg < WM_CTLCOLORMSGBOX || msg > WM_CTLCOLORSTATIC) return false;
  EventArgs a;
  a.dc = reinterpret_cast<HDC>(wp);
  if (fire(Event::Colour, a)) {
    r = a.result;
    return true;
  }
  return body_colours(msg, wp, r);
}

// ---- The standard kinds ----

namespace {

class EditControl : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;

 protected:
  const wchar_t* window_class() const override { return def().kind == Kind::RichEdit ? rich_class() : L"EDIT"; }
  DWORD kind_style() const override {
    if (def().kind == Kind::Edit) return WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    return WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
           ES_WANTRETURN;
  }
  void prepare() override {
    if (def().kind == Kind::RichEdit) SendMessageW(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE);
  }
  bool reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) override {
    if (msg != WM_COMMAND) return WindowedControl::reflected(msg, wp, lp, r);
    if (HIWORD(wp) == EN_CHANGE) fire(Event::Change);
    if (HIWORD(wp) == EN_SETFOCUS) fire(Event::Focus);
    return false;
  }
};

class ButtonControl : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;

 protected:
  const wchar_t* window_class() const override { return L"BUTTON"; }
  DWORD kind_style() const override {
    switch (def().kind) {
      case Kind::Button: return WS_TABSTOP | BS_OWNERDRAW;
      case Kind::CheckBox: return WS_TABSTOP | BS_AUTOCHECKBOX;
      default: return BS_AUTORADIOBUTTON | (first_radio() ? WS_GROUP | WS_TABSTOP : 0);
    }
  }
  bool reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) override {
    if (msg == WM_COMMAND) {
      // A button we paint reports a fast second click as a double click: still a click.
      const int code = HIWORD(wp);
      if (code == BN_CLICKED || (code == BN_DOUBLECLICKED && def().kind == Kind::Button)) fire(Event::Click);
      r = 0;
      return true;
    }
    if (msg == WM_DRAWITEM) return draw(*reinterpret_cast<DRAWITEMSTRUCT*>(lp), r);
    return WindowedControl::reflected(msg, wp, lp, r);
  }

 private:
  // The first radio button of the table starts the one group.
  bool first_radio() const {
    const auto& rows = window().def()->controls;
    return std::none_of(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(index()),
                        [](const ControlDef& o) { return o.kind == Kind::Radio; });
  }
  bool draw(const DRAWITEMSTRUCT& di, LRESULT& r) {
    const theme::Face f = (di.itemState & ODS_SELECTED) ? theme::Face::Pressed : theme::Face::Normal;
    theme::button_face(di.hDC, di.rcItem, text(), f, window().scale_pct());
    if (di.itemState & ODS_FOCUS) {
      RECT fr = di.rcItem;
      InflateRect(&fr, -scale(3), -scale(3));
      DrawFocusRect(di.hDC, &fr);
    }
    r = TRUE;
    return true;
  }
};

class ListControl : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;

 protected:
  const wchar_t* window_class() const override { return L"LISTBOX"; }
  DWORD kind_style() const override {
    return WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  }
  bool reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) override {
    if (msg == WM_COMMAND) {
      const int code = HIWORD(wp);
      if (code == LBN_SELCHANGE) fire(Event::Change);
      if (code == LBN_DBLCLK) fire(Event::DoubleClick);
      if (code == LBN_SETFOCUS) fire(Event::Focus);
      return false;
    }
    return WindowedControl::reflected(msg, wp, lp, r);
  }
};

class LabelControl : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  void set_text(std::string_view t) override {
    WindowedControl::set_text(t);
    if (!hwnd_ || def().kind != Kind::TransparentLabel) return;
    // A transparent label draws no background: its container repaints under it.
    RECT r;
    GetWindowRect(hwnd_, &r);
    HWND parent = GetParent(hwnd_);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(parent, &r, TRUE);
  }

 protected:
  const wchar_t* window_class() const override { return L"STATIC"; }
  DWORD kind_style() const override { return SS_LEFT | SS_NOTIFY; }
  bool reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) override {
    if (msg == WM_COMMAND) {
      if (HIWORD(wp) == STN_CLICKED) fire(Event::Click);
      if (HIWORD(wp) == STN_DBLCLK) fire(Event::DoubleClick);
      return false;
    }
    if (msg == WM_CTLCOLORSTATIC && def().kind == Kind::TransparentLabel) {
      r = reinterpret_cast<LRESULT>(label_colours(reinterpret_cast<HDC>(wp)));
      return true;
    }
    return WindowedControl::reflected(msg, wp, lp, r);
  }
};

class TreeControl : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;

 protected:
  const wchar_t* window_class() const override { return WC_TREEVIEWW; }
  DWORD kind_style() const override {
    return WS_TABSTOP | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  }
  std::wstring initial_text() const override { return {}; }
  void before_create() override { need_common_controls(); }
  bool reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) override {
    if (msg != WM_NOTIFY) return WindowedControl::reflected(msg, wp, lp, r);
    r = 0;
    switch (reinterpret_cast<NMHDR*>(lp)->code) {
      case TVN_SELCHANGEDW: fire(Event::Change); break;
      case NM_DBLCLK: fire(Event::DoubleClick); break;
      case NM_RCLICK: fire(Event::RightClick); break;
      case NM_SETFOCUS: fire(Event::Focus); break;
      case TVN_BEGINLABELEDITW: editing_ = true; break;
      case TVN_ENDLABELEDITW: r = end_edit(reinterpret_cast<NMTVDISPINFOW*>(lp)); break;
      default: break;
    }
    return true;
  }

 private:
  LRESULT end_edit(NMTVDISPINFOW* di) {
    // One answer per edit: the tree can report the end again while it tears its edit box
    // down (losing the focus ends an edit too).
    if (!editing_) return FALSE;
    editing_ = false;
    std::optional<std::string> label = edited_label(di);
    if (!label) return FALSE;  // cancelled: the old label stays
    EventArgs a;
    a.text = std::move(*label);
    a.node = reinterpret_cast<std::intptr_t>(di->item.hItem);
    // Taken only when a handler is there and does not refuse it: the label must never show
    // a name that nothing applied.
    const bool handled = fire(Event::Rename, a);
    return handled && !a.result ? FALSE : bound(Event::Rename) ? TRUE : FALSE;
  }
  bool editing_ = false;  // a label edit is open
};

}  // namespace

// ---- The scroll bar ----

const wchar_t* ScrollControl::window_class() const { return L"SCROLLBAR"; }
DWORD ScrollControl::kind_style() const { return SBS_HORZ; }
std::wstring ScrollControl::initial_text() const { return {}; }
void ScrollControl::prepare() { set_range(1, 100, 10, 1); }

void ScrollControl::set_range(int min, int max, int page, int pos) {
  page_step_ = page;
  // The page step is a step, not a thumb size: with a thumb of the page's size the last
  // positions of the range could never be reached.
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, min, max, 0, pos, 0};
  SetScrollInfo(hwnd_, SB_CTL, &si, TRUE);
}

int ScrollControl::position() const {
  SCROLLINFO si{sizeof si, SIF_POS};
  GetScrollInfo(hwnd_, SB_CTL, &si);
  return si.nPos;
}

bool ScrollControl::reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
  if (msg != WM_HSCROLL) return WindowedControl::reflected(msg, wp, lp, r);
  SCROLLINFO si{sizeof si, SIF_ALL};
  GetScrollInfo(hwnd_, SB_CTL, &si);
  int pos = si.nPos;
  switch (LOWORD(wp)) {
    case SB_LINELEFT: --pos; break;
    case SB_LINERIGHT: ++pos; break;
    case SB_PAGELEFT: pos -= page_step_; break;
    case SB_PAGERIGHT: pos += page_step_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_LEFT: pos = si.nMin; break;
    case SB_RIGHT: pos = si.nMax; break;
    default: break;
  }
  pos = std::clamp(pos, si.nMin, si.nMax);
  r = 0;
  if (pos == si.nPos) return true;
  SCROLLINFO set{sizeof set, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd_, SB_CTL, &set, TRUE);
  EventArgs a;
  a.pos = pos;
  fire(Event::Scroll, a);
  return true;
}

// ---- The factory ----

namespace {
// Timers, file drop targets and pop-up menus: rows without a window.
class RowControl : public Control {
 public:
  using Control::Control;
};

bool holds_rows(const WindowDef& w, const ControlDef& d) {
  return std::any_of(w.controls.begin(), w.controls.end(), [&d](const ControlDef& o) { return o.parent == d.name; });
}
}  // namespace

// The only reader of the framework's style bits: a painted row, a readout box, or a window.
std::unique_ptr<Control> make_control(Window& w, std::size_t index) {
  const ControlDef& d = w.def()->controls[index];
  const bool paintable =
      d.kind == Kind::PictureButton || d.kind == Kind::PictureBox || d.kind == Kind::ShapeBox || d.kind == Kind::TransparentLabel;
  if ((d.style & style::kDrawn) && paintable && !holds_rows(*w.def(), d)) return make_painted(w, d, index);
  if (d.kind == Kind::Edit && (d.style & style::kLiveBox) && !(d.style & (ES_MULTILINE | ES_PASSWORD | ES_CENTER | ES_RIGHT)))
    return make_readout(w, d, index);
  switch (d.kind) {
    case Kind::Edit:
    case Kind::RichEdit: return std::make_unique<EditControl>(w, d, index);
    case Kind::Button:
    case Kind::CheckBox:
    case Kind::Radio: return std::make_unique<ButtonControl>(w, d, index);
    case Kind::ListBox: return std::make_unique<ListControl>(w, d, index);
    case Kind::Label:
    case Kind::TransparentLabel: return std::make_unique<LabelControl>(w, d, index);
    case Kind::Tree: return std::make_unique<TreeControl>(w, d, index);
    case Kind::HScrollBar: return std::make_unique<ScrollControl>(w, d, index);
    case Kind::PictureButton:
    case Kind::ShapeBox:
    case Kind::PictureBox:
    case Kind::GroupBox:
    case Kind::Tab:
    case Kind::DrawingPanel: return make_container(w, d, index);
    case Kind::Timer:
    case Kind::FileDrop:
    case Kind::PopupMenu: break;
  }
  return std::make_unique<RowControl>(w, d, index);
}

}  // namespace tb
