#include "app/launcher_icons_win.h"

#include <windows.h>

#include <shellapi.h>

#include <map>

#include "base/bmp.h"
#include "base/encoding.h"
#include "base/number.h"
#include "base/text.h"
#include "platform/handles.h"
#include "platform/picture.h"
#include "platform/registry_win.h"
#include "platform/theme.h"
#include "platform/late_bind.h"

namespace tb::shell {

namespace {

constexpr int kSize = 40;

std::string file_of(Dib& d) {
  GdiFlush();
  return bmp24_file(d.pixels(), d.width(), d.height());
}

void box(HDC dc, int l, int t, int r, int b, COLORREF fill, COLORREF edge) {
  GdiBrush br(CreateSolidBrush(fill));
  GdiPen pen(CreatePen(PS_SOLID, 1, edge));
  SelectGuard sb(dc, br.get());
  SelectGuard sp(dc, pen.get());
  RoundRect(dc, l, t, r, b, 4, 4);
}

// The three built-in pictures, drawn in the toolbox's flat colours on white.
Dib draw_default(DefaultIcon which) {
  Dib d = Dib::make(kSize, kSize);
  if (!d) return d;
  d.fill(RGB(255, 255, 255));
  HDC dc = d.dc();
  switch (which) {
    case DefaultIcon::Web: {
      GdiBrush br(CreateSolidBrush(theme::kAccentLight));
      GdiPen pen(CreatePen(PS_SOLID, 2, theme::kAccent));
      SelectGuard sb(dc, br.get());
      SelectGuard sp(dc, pen.get());
      Ellipse(dc, 5, 5, 35, 35);
      SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
      Ellipse(dc, 13, 5, 27, 35);
      MoveToEx(dc, 6, 20, nullptr);
      LineTo(dc, 34, 20);
      MoveToEx(dc, 9, 12, nullptr);
      LineTo(dc, 31, 12);
      MoveToEx(dc, 9, 28, nullptr);
      LineTo(dc, 31, 28);
      break;
    }
    case DefaultIcon::Computer: {
      box(dc, 4, 6, 36, 28, theme::kAccent, theme::kAccentDark);
      box(dc, 7, 9, 33, 25, theme::kAccentLight, theme::kAccentLight);
      box(dc, 17, 28, 23, 32, theme::kMuted, theme::kMuted);
      box(dc, 11, 32, 29, 35, theme::kMuted, theme::kMuted);
      break;
    }
    case DefaultIcon::Folder: {
      const COLORREF back = RGB(232, 178, 54), front = RGB(250, 205, 92);
      box(dc, 4, 8, 18, 14, back, back);
      box(dc, 4, 11, 36, 32, back, back);
      box(dc, 4, 15, 36, 33, front, back);
      break;
    }
  }
  return d;
}

// The icon at `index` of `file` (a negative index names a resource), drawn 40 x 40 on white.
std::string file_icon(const std::string& file, int index) {
  TB_LATE(L"shell32.dll", ExtractIconExW);
  const std::wstring w = to_wide(file);
  if (!ExtractIconExW || ExtractIconExW(w.c_str(), -1, nullptr, nullptr, 0) == 0) return {};
  HICON large = nullptr;
  if (ExtractIconExW(w.c_str(), index, &large, nullptr, 1) == 0 || !large) return {};
  IconHandle icon(large);
  Dib d = Dib::make(kSize, kSize);
  if (!d) return {};
  d.fill(RGB(255, 255, 255));
  DrawIconEx(d.dc(), 0, 0, icon.get(), kSize, kSize, 0, nullptr, DI_NORMAL);
  return file_of(d);
}

// The file type's own icon: HKEY_CLASSES_ROOT\.ext -> class -> class\DefaultIcon.
std::string type_icon(const std::string& target) {
  const std::size_t dot = rfind(target, ".");
  const std::string ext = dot == npos ? target : target.substr(dot + 1);
  static std::map<std::string, std::string> by_ext;  // one registry walk per extension
  if (auto it = by_ext.find(ext); it != by_ext.end()) return it->second;
  std::string found;
  auto cls = registry_string(HKEY_CLASSES_ROOT, "." + ext, "");
  if (cls && !cls->empty()) {
    if (auto value = registry_string(HKEY_CLASSES_ROOT, *cls + "\\DefaultIcon", "")) {
      std::string v;
      for (char c : *value)
        if (c != '"') v += c;
      const std::size_t comma = rfind(v, ",");
      if (comma != npos)
        found = file_icon(v.substr(0, comma), static_cast<int>(text_to_int(v.substr(comma + 1))));
    }
  }
  by_ext.emplace(ext, found);
  return found;
}

}  // namespace

std::string default_icon(DefaultIcon which) {
  static std::map<DefaultIcon, std::string> made;
  auto& f = made[which];
  if (f.empty()) {
    Dib d = draw_default(which);
    if (d) f = file_of(d);
  }
  return f;
}

std::string launcher_icon(const std::string& target, IconMode mode) {
  // Loading many items that share a program extracts its icon once.
  static std::map<std::string, std::string> by_target;
  if (auto it = by_target.find(target); it != by_target.end() && !it->second.empty()) return it->second;
  std::string icon = target.empty() ? std::string() : file_icon(target, 0);
  if (icon.empty()) {
    DefaultIcon pick = DefaultIcon::Computer;
    if (target.compare(0, 4, "http") == 0) {
      pick = DefaultIcon::Web;
    } else if (mode == IconMode::Adding) {
      if (target.size() >= 3 && target.compare(1, 2, ":\\") == 0) pick = DefaultIcon::Folder;
    } else {
      // A target that does not exist is no folder: it keeps the computer picture.
      const DWORD attrs = GetFileAttributesW(to_wide(target).c_str());
      if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) pick = DefaultIcon::Folder;
      icon = type_icon(target);
    }
    if (icon.empty()) icon = default_icon(pick);
  }
  if (mode == IconMode::Loading) by_target[target] = icon;
  return icon;
}

}  // namespace tb::shell
