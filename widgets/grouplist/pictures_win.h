// Pictures through the Windows Imaging Component: any format it decodes (BMP, ICO, GIF, JPEG,
// PNG, ...), first frame, as a 32-bit top-down DIB section.
#pragma once
#include <map>
#include <string>
#include <utility>

#include "widgets/grouplist/host.h"

namespace tb::grouplist {

class WicPictures : public PictureService {
 public:
  Picture load(std::string_view bytes, Colour backdrop) override;
  std::intptr_t make_grey(std::intptr_t bitmap) override;
  std::intptr_t extend_strip(std::intptr_t strip, int cells, const Picture& picture) override;
  void destroy(std::intptr_t bitmap) override;

 private:
  // Items that show the same picture share one bitmap (a launcher's items mostly do):
  // decoding and making a DIB section costs a millisecond or more each under Wine.
  struct Shared {
    std::intptr_t bitmap;
    int width, height, users;
  };
  std::map<std::pair<std::string, Colour>, Shared> by_bytes_;
  std::map<std::intptr_t, std::pair<std::string, Colour>> by_bitmap_;
};

}  // namespace tb::grouplist
