#include "widgets/grouplist/listbox_win.h"

#include <memory>

#include "base/encoding.h"
#include "platform/handles.h"
#include "platform/window.h"
#include "widgets/grouplist/events_win.h"
#include "widgets/grouplist/grouplist_win.h"
#include "widgets/grouplist/instance.h"
#include "widgets/grouplist/pictures_win.h"

namespace tb::grouplist {

namespace {

// The row font: 12 pixels (scaled), "宋体", weight 400, default character set, character
// precisions, default quality, modern family.
GdiFont make_row_font(int dpi) {
  static const std::wstring face = to_wide("宋体");
  return GdiFont(CreateFontW(MulDiv(12, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, FF_MODERN | DEFAULT_PITCH,
                             face.c_str()));
}

RowPaintedHook g_row_painted = nullptr;

}  // namespace

void set_row_painted_hook(RowPaintedHook hook) { g_row_painted = hook; }

// Without LBS_HASSTRINGS an owner-drawn list box stores the "string" argument as the row's
// item data, which is how every row gets its element's handle.
ListBoxWindow::ListBoxWindow(HWND hwnd, int dpi) : hwnd_(hwnd), dpi_(dpi) { set_font(); }

ListBoxWindow::~ListBoxWindow() { remove_handlers(hooks_); }

void ListBoxWindow::handle_messages(HWND parent) { hooks_ = install_handlers(*this, parent); }

void ListBoxWindow::set_font() {
  font_ = make_row_font(dpi_);
  send(WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

int ListBoxWindow::count() const { return static_cast<int>(send(LB_GETCOUNT, 0, 0)); }

// Many rows come and go with the list's drawing held: a visible list box otherwise updates
// its scroll bar and repaints for every row (milliseconds each under Wine). Single rows are
// left alone, so a caller that holds the drawing itself keeps it held.
class ListBoxWindow::Held {
 public:
  Held(const ListBoxWindow& w, std::size_t rows) : w_(w), visible_(rows > 1 && IsWindowVisible(w.hwnd_) != 0) {
    if (visible_) w_.send(WM_SETREDRAW, FALSE, 0);
  }
  ~Held() {
    if (!visible_) return;
    w_.send(WM_SETREDRAW, TRUE, 0);
    InvalidateRect(w_.hwnd_, nullptr, TRUE);
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

 private:
  const ListBoxWindow& w_;
  bool visible_;
};

void ListBoxWindow::insert(int index, const RowSpec* rows, std::size_t n) {
  if (n == 0) return;
  Held held(*this, n);
  int total = count();
  for (std::size_t k = 0; k < n; ++k) {
    int at = index + static_cast<int>(k);
    LRESULT r = send(LB_INSERTSTRING, at >= total ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(at),
                     static_cast<LPARAM>(rows[k].data));
    if (r < 0) return;  // LB_ERR or LB_ERRSPACE
    ++total;
    send(LB_SETITEMHEIGHT, static_cast<WPARAM>(r), MAKELPARAM(scale(rows[k].height), 0));
  }
}

void ListBoxWindow::erase(int index, int n) {
  if (n <= 0) return;
  Held held(*this, static_cast<std::size_t>(n));
  for (int k = n - 1; k >= 0; --k) send(LB_DELETESTRING, static_cast<WPARAM>(index + k), 0);
}

std::intptr_t ListBoxWindow::data(int index) const {
  if (index < 0) return -1;
  return static_cast<std::intptr_t>(send(LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void ListBoxWindow::set_data(int index, std::intptr_t data) {
  if (index >= 0) send(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

int ListBoxWindow::height(int index) const {
  if (index < 0 || index >= count()) return -1;
  return MulDiv(static_cast<int>(send(LB_GETITEMHEIGHT, static_cast<WPARAM>(index), 0)), 96, dpi_);
}

void ListBoxWindow::set_height(int index, int height) {
  if (index >= 0) send(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), MAKELPARAM(scale(height), 0));
}

void ListBoxWindow::redraw_row(int index) { paint_row(index); }

bool ListBoxWindow::paint_row(int index, const RECT* rect, HDC dc) {
  const Instance* in = find_instance(handle());
  if (!in || !painter_.paint(hwnd_, *in, index, rect, dc, font_.get(), dpi_)) return false;
  if (g_row_painted) g_row_painted(hwnd_, index);
  return true;
}

void ListBoxWindow::refresh(bool erase_background) { InvalidateRect(hwnd_, nullptr, erase_background); }

void ListBoxWindow::pause(int ms) {
  pump_pending();
  Sleep(static_cast<DWORD>(ms));
}

void ListBoxWindow::start_flash_timer() { tb::grouplist::start_flash_timer(hwnd_); }

HBRUSH ListBoxWindow::background_brush(COLORREF c) {
  if (!brush_ || brush_colour_ != c) {
    brush_ = GdiBrush(CreateSolidBrush(c));
    brush_colour_ = c;
  }
  return brush_.get();
}

namespace {

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
    CommonControlsLook look;  // its scroll bar
    HWND h = CreateWindowExW(ex_style, L"ListBox", to_wide("QQ列表框").c_str(), style, 0, 0, rc.right - rc.left,
                             rc.bottom - rc.top, p, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!h) return nullptr;
    ShowWindow(h, SW_SHOW);
    auto w = std::make_unique<ListBoxWindow>(h, screen_dpi());
    InvalidateRect(h, nullptr, TRUE);
    w->handle_messages(p);
    return w;
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
