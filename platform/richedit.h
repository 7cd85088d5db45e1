// A rich edit by its HWND: coloured lines streamed in as one RTF document, GBK text in
// and out. Line ends given and returned are "\r\n" whatever the control keeps inside.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tb {

struct RichLine {
  std::string text;  // GBK, one line
  COLORREF colour;
};

class RichEdit {
 public:
  explicit RichEdit(HWND h) : h_(h) {}
  HWND hwnd() const { return h_; }

  // Replaces the content with `lines` in 宋体 at `points`, with one EM_STREAMIN.
  void set_lines(const std::vector<RichLine>& lines, int points = 9);
  // Plain text: never read as RTF, even when it starts with "{\rtf".
  void set_text(std::string_view gbk);
  void clear() { set_text({}); }
  std::string text() const;
  // Lines of text, not wrapped display lines; an empty control has one.
  int line_count() const;
  // Colour of the character at `offset`, in UTF-16 units with one per line break.
  COLORREF colour_at(int offset) const;
  // Selects the bytes [from, from + n) of text(), both on character boundaries, and scrolls
  // the selection into view.
  void select_bytes(std::size_t from, std::size_t n);

 private:
  HWND h_;
};

}  // namespace tb
