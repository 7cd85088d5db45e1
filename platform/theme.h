// The toolbox's one flat look: colours, fonts and the code-drawn pictures of buttons,
// backgrounds and caption bands, at any DPI.
#pragma once
#include <windows.h>

#include <string_view>

namespace tb::theme {

constexpr COLORREF kAccent = RGB(45, 108, 223);
constexpr COLORREF kAccentDark = RGB(30, 84, 186);
constexpr COLORREF kAccentLight = RGB(226, 236, 252);
constexpr COLORREF kBody = RGB(246, 248, 251);
constexpr COLORREF kPanel = RGB(255, 255, 255);
constexpr COLORREF kBorder = RGB(198, 206, 219);
constexpr COLORREF kText = RGB(38, 44, 56);
constexpr COLORREF kMuted = RGB(110, 120, 138);
constexpr COLORREF kHover = RGB(236, 242, 252);
constexpr COLORREF kPressed = RGB(210, 224, 248);
constexpr COLORREF kDanger = RGB(222, 64, 64);
constexpr COLORREF kCaptionText = RGB(255, 255, 255);
constexpr int kCaptionHeight = 28;  // design pixels

// Fonts are cached per pixel height; the caller never deletes them.
HFONT ui_font(int px_height, bool bold = false);

void fill(HDC dc, const RECT& r, COLORREF c);
void frame(HDC dc, const RECT& r, COLORREF c);
void text(HDC dc, const RECT& r, std::string_view gbk, COLORREF c, HFONT f,
          UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE);

// Window background: caption band (optional), body and a one-pixel border.
void window_background(HDC dc, const RECT& r, std::string_view caption, int scale_pct, bool caption_bar);

enum class Face { Normal, Hover, Pressed };
// A flat button face with a centred label.
void button_face(HDC dc, const RECT& r, std::string_view label, Face f, int scale_pct, bool on_caption = false);
// Caption glyph buttons.
void minimise_glyph(HDC dc, const RECT& r, Face f, int scale_pct);
void close_glyph(HDC dc, const RECT& r, Face f, int scale_pct);

}  // namespace tb::theme
