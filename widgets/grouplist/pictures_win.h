// Pictures through the Windows Imaging Component: any format it decodes (BMP, ICO, GIF, JPEG,
// PNG, ...), first frame, as a 32-bit top-down DIB section.
#pragma once
#include "widgets/grouplist/host.h"

namespace tb::grouplist {

class WicPictures : public PictureService {
 public:
  Picture load(std::string_view bytes, Colour backdrop) override;
  std::intptr_t make_grey(std::intptr_t bitmap) override;
  std::intptr_t extend_strip(std::intptr_t strip, int cells, const Picture& picture) override;
  void destroy(std::intptr_t bitmap) override;
};

}  // namespace tb::grouplist
