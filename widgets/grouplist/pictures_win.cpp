#include "widgets/grouplist/pictures_win.h"

#include <windows.h>

#include "platform/picture.h"
#include "widgets/grouplist/grey.h"

namespace tb::grouplist {

namespace {

HBITMAP to_handle(std::intptr_t h) { return reinterpret_cast<HBITMAP>(h); }
std::intptr_t from_handle(HBITMAP h) { return reinterpret_cast<std::intptr_t>(h); }

}  // namespace

Picture WicPictures::load(std::string_view bytes, Colour backdrop) {
  Dib d = decode(bytes, backdrop);
  if (!d) return {};
  int w = d.width(), h = d.height();
  return {from_handle(d.release()), w, h};
}

std::intptr_t WicPictures::make_grey(std::intptr_t bitmap) {
  Dib d = copy_of(to_handle(bitmap));
  if (!d) return 0;
  grey_pixels(reinterpret_cast<std::uint8_t*>(d.pixels()), d.pixel_count());
  return from_handle(d.release());
}

std::intptr_t WicPictures::extend_strip(std::intptr_t strip, int cells, const Picture& picture) {
  Dib fresh = Dib::make((cells + 1) * 16, 16);
  if (!fresh) return 0;
  if (strip && cells > 0 && !scale_into(fresh, 0, 0, cells * 16, 16, to_handle(strip))) return 0;
  if (!scale_into(fresh, cells * 16, 0, 16, 16, to_handle(picture.bitmap))) return 0;
  if (strip) DeleteObject(to_handle(strip));
  DeleteObject(to_handle(picture.bitmap));
  return from_handle(fresh.release());
}

void WicPictures::destroy(std::intptr_t bitmap) {
  if (bitmap) DeleteObject(to_handle(bitmap));
}

}  // namespace tb::grouplist
