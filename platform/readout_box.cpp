// The readout box: a one-line box the program rewrites as the mouse moves (style::kLiveBox).
// It keeps its text and paints it in the flat look itself, and is an edit only while the
// user works in it: an edit lays its text out again on every write and paint, which a box
// rewritten at every tick of a readout cannot afford. Other programs read it as an edit,
// with WM_GETTEXT.
#include <windows.h>

#include <algorithm>

#include "base/encoding.h"
#include "platform/hook.h"
#include "platform/kinds.h"

namespace tb {

using namespace detail;

namespace {

constexpr UINT kEndEdit = WM_APP + 0x3A0;  // posted: the edit lost the focus

class ReadoutBox : public WindowedControl, public ChildWindow {
 public:
  using WindowedControl::WindowedControl;
  std::string text() const override { return to_gbk(current()); }
  void set_text(std::string_view t) override;
  bool renew() override { return false; }
  LRESULT message(HWND h, UINT msg, WPARAM wp, LPARAM lp) override;

 protected:
  const wchar_t* window_class() const override { return kContainerClass; }
  DWORD kind_style() const override { return WS_TABSTOP; }
  std::wstring initial_text() const override { return {}; }
  void attach() override { attach_child(hwnd_, this); }
  void prepare() override { text_ = to_wide(def().text); }

 private:
  std::wstring current() const;
  void take(std::wstring t);
  void paint_box(HDC dc, const RECT& rc) const;
  RECT text_rect() const;
  void begin_edit();
  void end_edit();
  bool edit_notice(UINT msg, WPARAM wp, LRESULT& r);

  std::wstring text_;
  HWND edit_ = nullptr;  // only while the user works in the box
  mutable int text_height_ = 0;
};

std::wstring ReadoutBox::current() const {
  if (!edit_) return text_;
  std::wstring w(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  w.resize(static_cast<std::size_t>(std::max(GetWindowTextW(edit_, w.data(), static_cast<int>(w.size())), 0)));
  return w;
}

// A new text from the program or from outside: reported as an edit reports a text set.
void ReadoutBox::take(std::wstring t) {
  if (edit_) {
    SetWindowTextW(edit_, t.c_str());  // its EN_CHANGE reports it
    return;
  }
  const bool same = t == text_;  // the same pixels: nothing to paint
  text_ = std::move(t);
  if (!same && IsWindowVisible(hwnd_)) {
    // Painted at once, and in place: the frame and one opaque text call draw every pixel,
    // and waiting for WM_PAINT would cost a second pass over the box.
    WindowDc dc(hwnd_);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    paint_box(dc.get(), rc);
  } else if (!same) {
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
  fire(Event::Change);
}

void ReadoutBox::set_text(std::string_view t) {
  if (hwnd_) take(to_wide(t));
}

RECT ReadoutBox::text_rect() const {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  InflateRect(&rc, -scale(4), -1);
  return rc;
}

// Few calls, no objects made: the box is painted at every step of a pick.
void ReadoutBox::paint_box(HDC dc, const RECT& rc) const {
  SelectGuard font(dc, theme::ui_font(scale(12)));
  SetTextColor(dc, IsWindowEnabled(hwnd_) ? theme::kText : theme::kMuted);
  SetBkColor(dc, theme::kPanel);
  SetBkMode(dc, OPAQUE);
  EventArgs a;
  a.dc = dc;
  RECT inner = rc;
  InflateRect(&inner, -1, -1);
  UINT opaque = ETO_OPAQUE;
  if (fire(Event::Colour, a)) {  // a brush of the handler's own under the text
    FillRect(dc, &inner, reinterpret_cast<HBRUSH>(a.result));
    SetBkMode(dc, TRANSPARENT);
    opaque = 0;
  }
  // The thin frame the window's other boxes have (WS_BORDER), in the system's colour for it.
  FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
  if (!text_height_) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    text_height_ = tm.tmHeight;
  }
  const RECT t = text_rect();
  ExtTextOutW(dc, t.left, (t.top + t.bottom - text_height_) / 2, opaque | ETO_CLIPPED, &inner, text_.c_str(),
              static_cast<UINT>(text_.size()), nullptr);
}

// The edit lies where the text is painted, so the text does not move when it appears.
void ReadoutBox::begin_edit() {
  if (!edit_) {
    const RECT t = text_rect();
    HFONT font = theme::ui_font(scale(12));
    TEXTMETRICW tm{};
    {
      WindowDc dc(hwnd_);
      SelectGuard f(dc.get(), font);
      GetTextMetricsW(dc.get(), &tm);
    }
    const int top = (t.top + t.bottom - tm.tmHeight) / 2;  // where paint_box puts the text
    const DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | (def().style & ES_READONLY);
    edit_ = CreateWindowExW(0, L"EDIT", text_.c_str(), style, t.left, top, t.right - t.left, tm.tmHeight, hwnd_,
                            nullptr, g_inst, nullptr);
    if (!edit_) return;
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(edit_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    hook_window(edit_, [this](HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT& r) {
      Window::Busy busy(&window());
      return msg < kReflected && own_message(h, msg, wp, lp, r);
    });
  }
  if (GetFocus() != edit_) SetFocus(edit_);
}

void ReadoutBox::end_edit() {
  if (!edit_ || GetFocus() == edit_) return;
  text_ = current();
  HWND e = edit_;
  edit_ = nullptr;
  DestroyWindow(e);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// What the edit tells the box it lies in.
bool ReadoutBox::edit_notice(UINT msg, WPARAM wp, LRESULT& r) {
  r = 0;
  if (msg == WM_COMMAND) {
    if (HIWORD(wp) == EN_CHANGE) fire(Event::Change);
    if (HIWORD(wp) == EN_SETFOCUS) fire(Event::Focus);
    // Ended once the edit's own handling of the focus change is over.
    if (HIWORD(wp) == EN_KILLFOCUS) PostMessageW(hwnd_, kEndEdit, 0, 0);
    return true;
  }
  EventArgs a;
  a.dc = reinterpret_cast<HDC>(wp);
  SetTextColor(a.dc, theme::kText);
  if (fire(Event::Colour, a)) r = a.result;
  else r = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  return true;
}

LRESULT ReadoutBox::message(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Window::Busy busy(&window());
  LRESULT r = 0;
  switch (msg) {
    case WM_GETTEXT: {
      if (wp == 0) return 0;
      const std::wstring t = current();
      const std::size_t n = std::min<std::size_t>(t.size(), static_cast<std::size_t>(wp) - 1);
      std::copy_n(t.data(), n, reinterpret_cast<wchar_t*>(lp));
      reinterpret_cast<wchar_t*>(lp)[n] = L'\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(current().size());
    case WM_SETTEXT:  // from outside the framework
      take(lp ? reinterpret_cast<const wchar_t*>(lp) : L"");
      return TRUE;
    case WM_PAINT: paint_client(h, [this](HDC dc, const RECT& rc) { paint_box(dc, rc); }); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCPAINT: if (lacks_frame(h)) return 0; break;
    case WM_SETFOCUS:
    case WM_LBUTTONDOWN: begin_edit(); return 0;
    case WM_RBUTTONUP: (void)own_message(h, msg, wp, lp, r); return 0;
    case kEndEdit: end_edit(); return 0;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (edit_ && reinterpret_cast<HWND>(lp) == edit_ && edit_notice(msg, wp, r)) return r;
      break;
    default: break;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

std::unique_ptr<Control> make_readout(Window& w, const ControlDef& d, std::size_t index) {
  return std::make_unique<ReadoutBox>(w, d, index);
}

}  // namespace tb
