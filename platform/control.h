// Inside the window framework: a control is an object with one interface, and how it is
// shown is its type, chosen once from its table row by make_control.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/picture.h"
#include "platform/window.h"

namespace tb {

class PaintedHost;
class PaintedControl;

class Control {
 public:
  Control(Window& w, const ControlDef& d, std::size_t index) : window_(w), def_(d), index_(index) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const ControlDef& def() const { return def_; }
  std::size_t index() const { return index_; }
  int id() const { return kFirstControlId + static_cast<int>(index_); }
  Window& window() const { return window_; }

  // Gives the row its place in its container: a window, or a host that paints it.
  virtual void create() {}
  // Whether it has that place; rows on a tab page not yet shown wait for it.
  virtual bool made() const { return true; }
  // Its own window; nullptr for a row its container paints, or one without a window.
  virtual HWND hwnd() const { return nullptr; }
  virtual std::string text() const { return {}; }
  virtual void set_text(std::string_view) {}
  virtual void show(bool) {}
  virtual bool visible() const { return false; }
  // The window it lies in and its rectangle in that window's client area.
  virtual bool locate(HWND&, RECT&) const { return false; }
  virtual void repaint() {}
  // Replaces its window by an empty new one in the same place (see Window::renew).
  virtual bool renew() { return false; }
  // Its tooltip's tool (window, identifier, rectangle); false while it has no place.
  virtual bool tool(TTTOOLINFOW&) const { return false; }
  // Its picture in `r`: the painter, else the kind's own.
  virtual void paint(HDC dc, const RECT& r);
  // For a container: the window and the host its rows lie in (a tab's: of the page).
  virtual HWND inner(int) { return nullptr; }
  virtual PaintedHost* inner_host(int) { return nullptr; }

  bool fire(Event ev, EventArgs& a) const { return window_.fire(def_.name, ev, a); }
  bool fire(Event ev) const {
    EventArgs a;
    return fire(ev, a);
  }
  // A transparent label's colours in `dc` and the brush under it (the null brush: none).
  HBRUSH label_colours(HDC dc) const;

  Painter painter;
  HCURSOR cursor = nullptr;
  theme::Face face = theme::Face::Normal;
  bool tip_added = false;

 protected:
  int scale(int v) const { return window_.scale(v); }
  bool bound(Event ev) const { return window_.bound(def_.name, ev); }
  RECT table_rect() const {
    const int x = scale(def_.x), y = scale(def_.y);
    return {x, y, x + scale(def_.w), y + scale(def_.h)};
  }
  HWND container() const { return window_.container_of(def_); }
  PaintedHost* container_host() const { return window_.host_of(def_); }
  // A row shown again gets its tooltip back with the mouse; a hidden one loses it.
  void tooltip_follows(bool shown);
  // The mouse is over the window: rows waiting for their tooltips get them.
  void add_pending_tooltips() const { window_.add_pending_tooltips(); }

 private:
  Window& window_;
  const ControlDef& def_;
  std::size_t index_;
};

// The one factory: the row's kind and the table's style bits choose the control's type.
std::unique_ptr<Control> make_control(Window& w, std::size_t index);

// A window the framework makes for a control of its own (containers, readout boxes, tab
// pages): the class's one procedure hands every message to the object in its user data.
class ChildWindow {
 public:
  virtual ~ChildWindow() = default;
  virtual LRESULT message(HWND h, UINT msg, WPARAM wp, LPARAM lp) = 0;
};
void attach_child(HWND h, ChildWindow* w);

// The pointer model of one window's client area: hit testing, hover, press with the
// capture, click and the cursor for the rows it paints, and for the container itself
// (`self`) where the window is a control's.
class PaintedHost {
 public:
  PaintedHost(HWND h, Control* self) : hwnd_(h), self_(self) {}
  HWND hwnd() const { return hwnd_; }
  void add(PaintedControl* c);
  void forget(Control* c);  // a row hidden: no hover, no press
  bool empty() const { return rows_.empty(); }
  // The topmost shown row at p: later rows above earlier ones, shape boxes beneath the rest.
  Control* at(POINT p) const;
  void paint(HDC dc);
  bool message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& r);

 private:
  Control* hit(POINT p) const;
  RECT area(const Control* c) const;
  void set_face(Control* c, theme::Face f);
  bool move(POINT p);
  bool press(UINT msg, POINT p);
  bool release(POINT p);
  void capture_changed(HWND to);
  bool set_cursor(WPARAM wp, LPARAM lp, LRESULT& r);
  EventArgs args(const Control* c, POINT p) const;

  HWND hwnd_;
  Control* self_;
  std::vector<PaintedControl*> rows_;  // in table order
  Control* hot_ = nullptr;      // under the mouse
  Control* pressed_ = nullptr;  // a picture button pressed, holding the capture
};

namespace detail {
extern HINSTANCE g_inst;
// Loads the common controls (trees, tooltips) once, on first need.
void need_common_controls();
constexpr wchar_t kWindowClass[] = L"TbWindow";
constexpr wchar_t kContainerClass[] = L"TbContainer";
LRESULT CALLBACK child_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// A window whose frame is all client area: WM_NCPAINT has nothing to draw there, yet its
// default handling fetches a window DC, which under Wine is a round trip to the server for
// every window of the first paint.
inline bool lacks_frame(HWND h) {
  RECT w, c;
  return GetWindowRect(h, &w) && GetClientRect(h, &c) && w.right - w.left == c.right && w.bottom - w.top == c.bottom;
}

// Runs a WM_PAINT: paint(dc, client rectangle) between BeginPaint and EndPaint, off screen.
void paint_client(HWND h, const std::function<void(HDC, const RECT&)>& paint);
// The body's colours for a static or button that asks and has no answer of its own.
bool body_colours(UINT msg, WPARAM wp, LRESULT& r);
}  // namespace detail

}  // namespace tb
