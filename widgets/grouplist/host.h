// What the list model needs from the window system: a window holding the display rows,
// and pictures. On Windows these are the real list box and the platform's picture loader;
// natively the rows live in memory and the pictures come from an injected service.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tb::grouplist {

using Colour = std::uint32_t;  // 0x00BBGGRR, as GDI uses it

// A decoded picture: a bitmap handle of the platform and its size in pixels.
struct Picture {
  std::intptr_t bitmap = 0;
  int width = 0;
  int height = 0;
};

class PictureService {
 public:
  virtual ~PictureService() = default;
  // Decodes image file bytes (BMP, ICO, GIF, JPEG at least). Transparent parts are laid
  // on backdrop. bitmap is 0 when the bytes cannot be decoded.
  virtual Picture load(std::string_view bytes, Colour backdrop) = 0;
  // A grey copy of the bitmap, each pixel g = 0.3 R + 0.59 G + 0.11 B truncated; 0 on failure.
  virtual std::intptr_t make_grey(std::intptr_t bitmap) = 0;
  // A strip of cells + 1 cells of 16 x 16: the old strip's cells, then the picture scaled
  // into the new last cell. On success the old strip and the picture are freed and the new
  // strip returned; on failure 0 is returned and nothing is freed.
  virtual std::intptr_t extend_strip(std::intptr_t strip, int cells, const Picture& picture) = 0;
  virtual void destroy(std::intptr_t bitmap) = 0;
};

// One bitmap of a picture service, destroyed through it when the owner goes or takes another.
// It reads as its handle (0 for none), as the record fields holding it always have.
class OwnedBitmap {
 public:
  OwnedBitmap() = default;
  OwnedBitmap(PictureService& service, std::intptr_t bitmap) : service_(bitmap ? &service : nullptr), h_(bitmap) {}
  OwnedBitmap(const OwnedBitmap&) = delete;
  OwnedBitmap& operator=(const OwnedBitmap&) = delete;
  OwnedBitmap(OwnedBitmap&& o) noexcept : service_(o.service_), h_(o.h_) { o.forget(); }
  OwnedBitmap& operator=(OwnedBitmap&& o) noexcept {
    if (this != &o) {
      reset();
      service_ = o.service_;
      h_ = o.h_;
      o.forget();
    }
    return *this;
  }
  ~OwnedBitmap() { reset(); }

  std::intptr_t get() const { return h_; }
  operator std::intptr_t() const { return h_; }
  // Gives the bitmap up without destroying it, for a service call that takes it over.
  std::intptr_t release() {
    std::intptr_t h = h_;
    forget();
    return h;
  }
  void reset() {
    if (h_) service_->destroy(h_);
    forget();
  }

 private:
  void forget() {
    service_ = nullptr;
    h_ = 0;
  }
  PictureService* service_ = nullptr;
  std::intptr_t h_ = 0;
};

struct RowSpec {
  int height = 0;
  std::intptr_t data = 0;
};

// The list window and its rows. A row is a height and an item data value (the element's
// handle); the owner-drawn list keeps no row texts, rows are drawn from their elements.
class ListWindow {
 public:
  virtual ~ListWindow() = default;
  virtual std::intptr_t handle() const = 0;
  virtual int count() const = 0;
  // Inserts n rows before index; index == count() appends.
  virtual void insert(int index, const RowSpec* rows, std::size_t n) = 0;
  void insert(int index, int height, std::intptr_t data) {
    RowSpec r{height, data};
    insert(index, &r, 1);
  }
  virtual void erase(int index, int n) = 0;
  // The row's item data; -1 when there is no such row (the list box's own answer).
  virtual std::intptr_t data(int index) const = 0;
  virtual void set_data(int index, std::intptr_t data) = 0;
  virtual int height(int index) const = 0;  // -1 when there is no such row
  virtual void set_height(int index, int height) = 0;
  // The pixels per inch the rows are shown at; heights above stay in design pixels (96).
  virtual int dpi() const = 0;
  // Asks for one row, or the whole list, to be painted again.
  virtual void redraw_row(int index) = 0;
  virtual void refresh(bool erase_background) = 0;
  // Lets the window thread handle its pending messages, then waits ms milliseconds.
  virtual void pause(int ms) = 0;
  // The 300 ms avatar flash tick; started once per list window.
  virtual void start_flash_timer() = 0;
};

class ListHost {
 public:
  virtual ~ListHost() = default;
  virtual bool is_window(std::intptr_t window) const = 0;
  // Makes the list window filling the parent (border 0 none, 1 sunken edge, 2 thin);
  // nullptr when the window cannot be made.
  virtual std::unique_ptr<ListWindow> create_list(std::intptr_t parent, int border) = 0;
  virtual PictureService& pictures() = 0;
};

}  // namespace tb::grouplist
