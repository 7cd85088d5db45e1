// Tooltips: one tooltip window per framework window, a tool per row that has a tip. Rows
// get theirs when the mouse first comes over the window, not at start-up.
#include <windows.h>

#include <commctrl.h>

#include "base/encoding.h"
#include "platform/control.h"

namespace tb {

using namespace detail;

void Window::add_pending_tooltips() {
  if (!pending_tips_) return;
  pending_tips_ = false;
  for (const auto& c : controls_)
    if (c->def().tip_at != Tip::None && !c->tip_added) add_tooltip(*c);
}

void Window::add_tooltip(Control& c) {
  std::wstring text = to_wide(c.def().tip);
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_SUBCLASS | (c.def().tip_at == Tip::AtPointer ? 0 : TTF_CENTERTIP);
  ti.lpszText = text.data();
  if (!c.tool(ti)) return;
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
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Window::remove_tooltip(Control& c) {
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  if (!c.tip_added || !tooltip_ || !c.tool(ti)) return;
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  c.tip_added = false;
}

void Control::tooltip_follows(bool shown) {
  if (!shown) window_.remove_tooltip(*this);
  else if (def_.tip_at != Tip::None && !tip_added) window_.pending_tips_ = true;
}

}  // namespace tb
