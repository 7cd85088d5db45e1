#include "platform/richedit.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "base/encoding.h"

namespace tb {

namespace {

struct Source {
  const char* data;
  std::size_t size, pos;
};

DWORD CALLBACK read_source(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* got) {
  auto* s = reinterpret_cast<Source*>(cookie);
  std::size_t n = std::min(static_cast<std::size_t>(cb), s->size - s->pos);
  std::memcpy(buf, s->data + s->pos, n);
  s->pos += n;
  *got = static_cast<LONG>(n);
  return 0;
}

void stream_in(HWND h, WPARAM format, const void* data, std::size_t size) {
  Source src{static_cast<const char*>(data), size, 0};
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&src), 0, read_source};
  SendMessageW(h, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&es));
}

// Streamed text beyond the limit (32K characters by default) is silently dropped.
void fit_limit(HWND h, std::size_t chars) {
  if (static_cast<LRESULT>(chars) > SendMessageW(h, EM_GETLIMITTEXT, 0, 0))
    SendMessageW(h, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(chars));
}

void append_escaped(std::string& rtf, std::wstring_view w) {
  for (std::size_t i = 0; i < w.size(); ++i) {
    wchar_t c = w[i];
    if (c == L'\\' || c == L'{' || c == L'}') {
      rtf += '\\';
      rtf += static_cast<char>(c);
    } else if (c == L'\t') {
      rtf += "\\tab ";
    } else if (c == L'\r' || c == L'\n') {
      if (c == L'\r' && i + 1 < w.size() && w[i + 1] == L'\n') ++i;
      rtf += "\\par ";
    } else if (c < 0x20 || c >= 0x80) {
      // UTF-16 value as a signed 16-bit number, "?" for readers without \u.
      rtf += "\\u";
      rtf += std::to_string(static_cast<short>(c));
      rtf += '?';
    } else {
      rtf += static_cast<char>(c);
    }
  }
}

std::wstring raw_text(HWND h) {
  GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
  LRESULT n = SendMessageW(h, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
  if (n <= 0) return {};
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  GETTEXTEX get{static_cast<DWORD>(w.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
  n = SendMessageW(h, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(w.data()));
  w.resize(static_cast<std::size_t>(std::max<LRESULT>(n, 0)));
  return w;
}

// Paragraph ends come as "\r" (rich edit 2.0 and later), "\r\n" or "\n": all become "\r\n".
std::wstring crlf(std::wstring_view w) {
  std::wstring out;
  out.reserve(w.size() + w.size() / 16);
  for (std::size_t i = 0; i < w.size(); ++i) {
    if (w[i] == L'\r' || w[i] == L'\n') {
      if (w[i] == L'\r' && i + 1 < w.size() && w[i + 1] == L'\n') ++i;
      out += L"\r\n";
    } else {
      out += w[i];
    }
  }
  return out;
}

// Characters of GBK text with "\r\n" line ends as the control counts them: one per line break.
LONG units(std::string_view gbk) {
  const std::wstring w = to_wide(gbk);
  return static_cast<LONG>(w.size() - std::count(w.begin(), w.end(), L'\n'));
}

}  // namespace

void RichEdit::set_lines(const std::vector<RichLine>& lines, int points) {
  std::unordered_map<COLORREF, std::size_t> index;
  std::string colours, body;
  std::size_t chars = 0;
  body.reserve(lines.size() * 32);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    COLORREF c = lines[i].colour;
    auto [it, fresh] = index.emplace(c, index.size() + 1);
    if (fresh)
      colours += "\\red" + std::to_string(GetRValue(c)) + "\\green" + std::to_string(GetGValue(c)) + "\\blue" +
                 std::to_string(GetBValue(c)) + ";";
    if (i) body += "\\par ";
    body += "\\cf" + std::to_string(it->second) + " ";
    std::wstring w = to_wide(lines[i].text);
    chars += w.size() + 1;
    append_escaped(body, w);
  }
  std::string rtf = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 ";
  for (unsigned char b : std::string_view("宋体")) {  // GBK bytes, read by \fcharset134
    static const char hex[] = "0123456789abcdef";
    rtf += "\\'";
    rtf += hex[b >> 4];
    rtf += hex[b & 15];
  }
  rtf += ";}}{\\colortbl ;" + colours + "}\\uc1\\f0\\fs" + std::to_string(points * 2) + " ";
  rtf += body;
  rtf += "}";
  fit_limit(h_, chars);
  stream_in(h_, SF_RTF, rtf.data(), rtf.size());
  // Wine decodes font-table names in the system code page, not the font's: elsewhere than
  // on Chinese systems name the face once more (one pass, 0.4 s for 10,000 lines in Wine).
  if (GetACP() == 936) return;
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_CHARSET;
  cf.bCharSet = GB2312_CHARSET;
  std::wstring face = to_wide("宋体");
  face.copy(cf.szFaceName, LF_FACESIZE - 1);
  SendMessageW(h_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

void RichEdit::set_text(std::string_view gbk) {
  std::wstring w = to_wide(gbk);
  fit_limit(h_, w.size());
  stream_in(h_, SF_TEXT | SF_UNICODE, w.data(), w.size() * sizeof(wchar_t));
}

std::string RichEdit::text() const { return to_gbk(crlf(raw_text(h_))); }

int RichEdit::line_count() const {
  std::wstring w = crlf(raw_text(h_));
  return 1 + static_cast<int>(std::count(w.begin(), w.end(), L'\n'));
}

COLORREF RichEdit::colour_at(int offset) const {
  CHARRANGE old{}, one{offset, offset + 1};
  SendMessageW(h_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&old));
  SendMessageW(h_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_COLOR;
  SendMessageW(h_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  SendMessageW(h_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&old));
  return (cf.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : cf.crTextColor;
}

void RichEdit::select_bytes(std::size_t from, std::size_t n) {
  const std::string t = text();
  if (from > t.size()) return;
  const LONG start = units(std::string_view(t).substr(0, from));
  CHARRANGE r{start, start + units(std::string_view(t).substr(from, n))};
  SendMessageW(h_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
  SendMessageW(h_, EM_SCROLLCARET, 0, 0);
}

}  // namespace tb
