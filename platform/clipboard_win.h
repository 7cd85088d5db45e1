// The clipboard, open for one scope: text and pictures in and out.
#pragma once
#include <windows.h>

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
  // Empties the clipboard and puts a copy of the picture on it as CF_BITMAP (the system
  // offers it as CF_DIB too).
  bool put_picture(const Dib& picture);
  // The CF_DIB data as bytes; empty when there is none.
  std::string dib_bytes() const;

 private:
  bool open_;
};

}  // namespace tb
