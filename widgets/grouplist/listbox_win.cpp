#include <windows.h>

#include <memory>

#include "base/encoding.h"
#include "platform/handles.h"
#include "platform/window.h"
#include "widgets/grouplist/grouplist_win.h"
#include "widgets/grouplist/pictures_win.h"

namespace tb::grouplist {

namespace {

// Without LBS_HASSTRINGS an owner-drawn list box stores the "string" argument as the row's
// item data, which is how every row gets its element's handle.
class ListBoxWindow : public ListWindow {
 public:
  ListBoxWindow(HWND hwnd, GdiFont font) : hwnd_(hwnd), font_(std::move(font)) {}

  std::intptr_t handle() const override { return reinterpret_cast<std::intptr_t>(hwnd_); }
  int count() const override { return static_cast<int>(send(LB_GETCOUNT, 0, 0)); }

  void insert(int index, const RowSpec* rows, std::size_t n) override {
    for (std::size_t k = 0; k < n; ++k) {
      int at = index + static_cast<int>(k);
      LRESULT r = send(LB_INSERTSTRING, at >= count() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(at),
                       static_cast<LPARAM>(rows[k].data));
      if (r < 0) return;  // LB_ERR or LB_ERRSPACE
      send(LB_SETITEMHEIGHT, static_cast<WPARAM>(r), MAKELPARAM(rows[k].height, 0));
    }
  }
  void erase(int index, int n) override {
    for (int k = n - 1; k >= 0; --k) send(LB_DELETESTRING, static_cast<WPARAM>(index + k), 0);
  }
  std::intptr_t data(int index) const override {
    if (index < 0) return -1;
    return static_cast<std::intptr_t>(send(LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
  }
  void set_data(int index, std::intptr_t data) override {
    if (index >= 0) send(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
  }
  int height(int index) const override {
    if (index < 0 || index >= count()) return -1;
    return static_cast<int>(send(LB_GETITEMHEIGHT, static_cast<WPARAM>(index), 0));
  }
  void set_height(int index, int height) override {
    if (index >= 0) send(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), MAKELPARAM(height, 0));
  }
  void redraw_row(int index) override {
    RECT r;
    if (index >= 0 && send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
      InvalidateRect(hwnd_, &r, FALSE);
  }
  void refresh(bool erase_background) override { InvalidateRect(hwnd_, nullptr, erase_background); }

  void pause(int ms) override {
    pump_pending();
    Sleep(static_cast<DWORD>(ms));
  }

  // The tick that flips the flash phase comes with the list's message handlers.
  void start_flash_timer() override {}

 private:
  LRESULT send(UINT msg, WPARAM w, LPARAM l) const { return SendMessageW(hwnd_, msg, w, l); }
  HWND hwnd_;
  GdiFont font_;  // lives as long as the list that uses it
};

class Win32ListHost : public ListHost {
 public:
  bool is_window(std::intptr_t window) const override {
    return window != 0 && IsWindow(reinterpret_cast<HWND>(window));
  }

  std::unique_ptr<ListWindow> create_list(std::intptr_t parent, int border) override {
    HWND p = reinterpret_cast<HWND>(parent);
    RECT rc{};
    GetWindowRect(p, &rc);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWVARIABLE | LBS_NOTIFY;
    DWORD ex_style = 0;
    if (border == 1) ex_style |= WS_EX_CLIENTEDGE;
    if (border == 2) style |= WS_BORDER;
    HWND h = CreateWindowExW(ex_style, L"ListBox", to_wide("QQ列表框").c_str(), style, 0, 0, rc.right - rc.left,
                             rc.bottom - rc.top, p, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!h) return nullptr;
    ShowWindow(h, SW_SHOW);
    GdiFont font(CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                             CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, FF_MODERN | DEFAULT_PITCH,
                             to_wide("宋体").c_str()));
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    InvalidateRect(h, nullptr, TRUE);
    return std::make_unique<ListBoxWindow>(h, std::move(font));
  }

  PictureService& pictures() override { return pictures_; }

 private:
  WicPictures pictures_;
};

}  // namespace

ListHost& win32_list_host() {
  static Win32ListHost host;
  return host;
}

}  // namespace tb::grouplist
