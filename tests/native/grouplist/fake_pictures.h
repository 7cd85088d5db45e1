// Pictures for the native tests: "PIC:w:h" decodes to a w x h bitmap, anything else fails.
// Every bitmap is tracked, so leaks and double frees show.
#pragma once
#include <map>
#include <string>
#include <string_view>

#include "base/number.h"
#include "base/text.h"
#include "widgets/grouplist/host.h"

namespace tb::grouplist::testing {

class FakePictures : public PictureService {
 public:
  struct Bitmap {
    int width = 0, height = 0;
    bool grey = false;
    int cells = 0;  // a service icon strip
  };

  Picture load(std::string_view bytes, Colour) override {
    auto parts = split(bytes, ":");
    if (parts.size() != 3 || parts[0] != "PIC") return {};
    Bitmap b{static_cast<int>(text_to_int(parts[1])), static_cast<int>(text_to_int(parts[2]))};
    if (b.width <= 0 || b.height <= 0) return {};
    return {add(b), b.width, b.height};
  }
  std::intptr_t make_grey(std::intptr_t bitmap) override {
    auto it = live.find(bitmap);
    if (it == live.end() || fail_grey) return 0;
    Bitmap b = it->second;
    b.grey = true;
    return add(b);
  }
  std::intptr_t extend_strip(std::intptr_t strip, int cells, const Picture& picture) override {
    if (fail_strip) return 0;
    if (strip && !live.count(strip)) ++bad_frees;
    live.erase(strip);
    destroy(picture.bitmap);
    return add(Bitmap{(cells + 1) * 16, 16, false, cells + 1});
  }
  void destroy(std::intptr_t bitmap) override {
    if (!live.erase(bitmap)) ++bad_frees;
  }

  std::map<std::intptr_t, Bitmap> live;
  int bad_frees = 0;
  bool fail_grey = false;
  bool fail_strip = false;

 private:
  std::intptr_t add(const Bitmap& b) {
    live[next_] = b;
    return next_++;
  }
  std::intptr_t next_ = 5000;
};

}  // namespace tb::grouplist::testing
