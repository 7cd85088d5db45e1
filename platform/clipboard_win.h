// The clipboard, open for one scope: text and pictures in and out.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/picture.h"

namespace tb {

class Clipboard {
 public:
  explicit Clipboard(HWND owner) : open_(OpenClipboard(owner) != 0) {}
  ~Clipboard() {
    if (open_) CloseClipboard();
  }
  Clipboard(const Clipboard&) = delete;
  Clipboard& operator=(const Clipboard&) = delete;
  explicit operator bool() const { return open_; }

  // Empties the clipboard and puts the text on it.
  bool put_text(std::wstring_view w);
  // Empties the clipboard and puts GBK text on it in both forms: Unicode, and the GBK bytes
  // as plain text marked Chinese, so a program reading either gets the same characters on
  // any system's code page.
  bool put_gbk_text(std::string_view gbk);
  // The CF_DIB data as bytes; empty when there is none.
  std::string dib_bytes() const;

 private:
  bool open_;
};

// A picture promised to the clipboard and made only when a program asks for it: handing a
// large bitmap to the clipboard at once costs more than loading it (under Wine, 0.1 s for a
// 3840 x 2160 picture). The owner window passes its clipboard messages to handle().
class ClipboardPicture {
 public:
  // Empties the clipboard, makes `owner` its owner and promises CF_BITMAP; `make` gives the
  // picture when it is asked for (and when the owner goes, so the picture stays).
  bool promise(HWND owner, std::function<Dib()> make);
  // WM_RENDERFORMAT, WM_RENDERALLFORMATS and WM_DESTROYCLIPBOARD of the owner; true when handled.
  bool handle(HWND owner, UINT msg, WPARAM wp);

 private:
  std::function<Dib()> make_;
};

}  // namespace tb
