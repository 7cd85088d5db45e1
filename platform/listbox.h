// A single-selection list box by its HWND: one-line operations over the LB_ messages,
// GBK text in and out. Indexes are 0-based; -1 means none.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "base/encoding.h"

namespace tb {

class ListBox {
 public:
  explicit ListBox(HWND h) : h_(h) {}
  HWND hwnd() const { return h_; }

  int add(std::string_view text) { return send(LB_ADDSTRING, 0, to_wide(text).c_str()); }
  // index -1 appends.
  int insert_at(int index, std::string_view text) { return send(LB_INSERTSTRING, index, to_wide(text).c_str()); }
  void remove_at(int index) { SendMessageW(h_, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
  void clear() { SendMessageW(h_, LB_RESETCONTENT, 0, 0); }
  int count() const { return static_cast<int>(SendMessageW(h_, LB_GETCOUNT, 0, 0)); }
  int selection() const { return static_cast<int>(SendMessageW(h_, LB_GETCURSEL, 0, 0)); }
  void select(int index) { SendMessageW(h_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

  std::string text_at(int index) const {
    LRESULT n = SendMessageW(h_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR) return {};
    std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
    n = SendMessageW(h_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w.data()));
    w.resize(n == LB_ERR ? 0 : static_cast<std::size_t>(n));
    return to_gbk(w);
  }

  // First item whose text is exactly `text`. LB_FINDSTRINGEXACT ignores case, so its
  // candidates are checked byte for byte; its search wraps, so stop once it comes back.
  int find(std::string_view text) const {
    std::wstring w = to_wide(text);
    int first = -1;
    for (int from = -1;;) {
      int i = send(LB_FINDSTRINGEXACT, from, w.c_str());
      if (i < 0 || i == first) return -1;
      if (text_at(i) == text) return i;
      if (first < 0) first = i;
      from = i;
    }
  }

 private:
  int send(UINT msg, int index, const wchar_t* s) const {
    return static_cast<int>(SendMessageW(h_, msg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s)));
  }
  HWND h_;
};

}  // namespace tb
