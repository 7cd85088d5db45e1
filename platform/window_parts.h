// Inside the window framework: the record of one control, shared by the framework's files.
#pragma once
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/window.h"

namespace tb {

// The DIB section behind a drawing panel (not tb::Dib of picture.h: one name, one class).
struct PanelDib {
  MemDc dc;
  GdiBitmap bmp;
  HGDIOBJ old = nullptr;
  Surface s;
  PanelDib(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc.reset(CreateCompatibleDC(nullptr));
    bmp.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bmp) return;
    old = SelectObject(dc.get(), bmp.get());
    s = Surface{dc.get(), static_cast<std::uint32_t*>(bits), w, h};
    const std::uint32_t body = (GetRValue(theme::kBody) << 16) | (GetGValue(theme::kBody) << 8) | GetBValue(theme::kBody);
    std::fill(s.pixels, s.pixels + static_cast<std::size_t>(w) * static_cast<std::size_t>(h), body);
  }
  ~PanelDib() {
    if (old) SelectObject(dc.get(), old);
  }
};

struct Window::Ctl {
  Window* owner = nullptr;
  const ControlDef* def = nullptr;
  std::size_t index = 0;
  HWND hwnd = nullptr;
  Painter painter;
  theme::Face face = theme::Face::Normal;
  bool pressed = false;
  bool tracking = false;
  bool swallow_char = false;  // the key's character after a handled KeyDown
  bool editing = false;       // a tree label edit is open
  HCURSOR cursor = nullptr;
  std::vector<HWND> pages;
  int page = 0;
  int line_step = 1, page_step = 10;
  std::vector<std::string> items;  // pop-up menu
  std::unique_ptr<PanelDib> dib;        // drawing panel
  int id() const { return kFirstControlId + static_cast<int>(index); }
};

namespace detail {
extern HINSTANCE g_inst;
constexpr wchar_t kWindowClass[] = L"TbWindow";
constexpr wchar_t kContainerClass[] = L"TbContainer";

inline bool is_container(Kind k) {
  return k == Kind::PictureButton || k == Kind::ShapeBox || k == Kind::PictureBox || k == Kind::DrawingPanel ||
         k == Kind::Tab;
}

// Runs a WM_PAINT: paint(dc, client rectangle) between BeginPaint and EndPaint.
template <class Paint>
void paint_client(HWND h, Paint&& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  paint(dc, rc);
  EndPaint(h, &ps);
}
}  // namespace detail

}  // namespace tb
