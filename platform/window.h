// A thin window base: builds a top-level window and its controls from a table, finds
// controls by stored name, and dispatches control events to handlers bound by name.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"
#include "platform/theme.h"

namespace tb {

enum class Event {
  Click,        // buttons, picture buttons, check boxes, radio buttons, transparent labels
  DoubleClick,  // list boxes and any control that sees a double-click
  MouseDown,    // left button pressed (x, y relative to the control)
  MouseUp,
  MouseMove,
  RightClick,
  Change,       // edit text changed, list/tree selection changed, tab page changed
  Focus,        // the control received the keyboard focus
  KeyDown,      // key code in `key`
  Tick,         // timer
  Scroll,       // scroll bar position changed, position in `pos`
  Drop,         // files dropped, paths in `files`
  Menu,         // pop-up menu item chosen, 0-based index in `item`
};

struct EventArgs {
  int x = 0, y = 0;
  unsigned key = 0;
  int pos = 0;
  int item = 0;
  std::vector<std::string> files;
};

using Handler = std::function<void(const EventArgs&)>;
// Paints a picture control (picture button, picture box, shape box, drawing panel) or the
// window background. `face` is the picture button's state.
using Painter = std::function<void(HDC, const RECT&, theme::Face face)>;

// A drawing panel's pixel surface: a top-down 32-bit DIB section (0x00RRGGBB per pixel) and a
// memory DC selected with it, for whole-picture work on the buffer and GDI drawing alike.
struct Surface {
  HDC dc = nullptr;
  std::uint32_t* pixels = nullptr;
  int width = 0, height = 0;
};

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Creates the window and every control of the table, shows it, then runs on_created().
  bool create(const WindowDef& def, HWND owner = nullptr, bool show = true);
  void close();  // destroys the window
  HWND hwnd() const { return hwnd_; }
  const WindowDef* def() const { return def_; }
  static Window* from(HWND w);

  // Controls by stored name; nullptr when there is none.
  HWND control(std::string_view name) const;
  const ControlDef* control_def(std::string_view name) const;

  void on(std::string_view name, Event ev, Handler h);  // name "" is the window itself
  void set_painter(std::string_view name, Painter p);     // "" is the window background
  void repaint(std::string_view name);

  std::string text(std::string_view name) const;
  void set_text(std::string_view name, std::string_view text);
  void show(std::string_view name, bool visible);
  bool checked(std::string_view name) const;
  void set_checked(std::string_view name, bool on);
  void select_page(std::string_view tab, int page);
  int selected_page(std::string_view tab) const;
  void set_timer(std::string_view name, unsigned ms);
  void kill_timer(std::string_view name);
  void set_scroll(std::string_view name, int min, int max, int page, int pos);
  int scroll_pos(std::string_view name) const;
  void set_cursor(std::string_view name, HCURSOR c);  // nullptr restores the arrow
  void add_tooltip(std::string_view name, std::string_view tip, bool at_pointer);
  void set_topmost(bool on);
  void show_popup_menu(std::string_view name);  // at the pointer
  // The pixel surface of a drawing panel (empty for other controls); repaint() shows changes.
  Surface surface(std::string_view name);

  // Design pixels to device pixels at the screen DPI.
  int scale(int v) const { return MulDiv(v, dpi_, 96); }
  int scale_pct() const { return MulDiv(100, dpi_, 96); }
  int dpi() const { return dpi_; }

  // Secondary windows are owned by the module that opens them: with this set the object
  // deletes itself once its window is gone.
  void delete_on_destroy() { self_delete_ = true; }

 protected:
  virtual void on_created() {}
  virtual void on_destroyed() {}
  // Messages of the top-level window not handled by the framework; return true if handled.
  virtual bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void fire(std::string_view name, Event ev, const EventArgs& a = {});

 private:
  friend void init_framework(HINSTANCE inst);
  struct Ctl;
  static LRESULT CALLBACK window_proc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK container_proc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK control_proc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handle_container(Ctl& c, HWND h, UINT msg, WPARAM wp, LPARAM lp);
  bool forward_common(UINT msg, WPARAM wp, LPARAM lp, LRESULT& out);
  void create_control(std::size_t index);
  HWND container_of(const ControlDef& d) const;
  Ctl* find(std::string_view name);
  const Ctl* find(std::string_view name) const;
  Ctl* by_hwnd(HWND h);
  Ctl* by_id(int id);
  void paint_picture(Ctl& c, HDC dc, const RECT& r);

  HWND hwnd_ = nullptr;
  const WindowDef* def_ = nullptr;
  int dpi_ = 96;
  bool self_delete_ = false;
  std::vector<std::unique_ptr<Ctl>> ctls_;
  std::map<std::string, std::size_t, std::less<>> by_name_;
  std::map<std::pair<std::string, Event>, Handler, std::less<>> handlers_;
  Painter background_;
  HWND tooltip_ = nullptr;
};

// Opens a window that exists at most once and deletes itself when closed. `slot` points at it
// while it lives; the window clears it when it is destroyed. Returns the window or nullptr.
template <class W>
W* open_single(W*& slot, const WindowDef& def) {
  if (slot) return slot;
  auto* w = new W();
  w->delete_on_destroy();
  slot = w;
  if (!w->create(def)) {
    slot = nullptr;
    delete w;
  }
  return slot;
}

// Screen DPI (LOGPIXELSX); the process is DPI-aware through its manifest.
int screen_dpi();
// Registers the framework's window classes and common controls; call once at start-up.
void init_framework(HINSTANCE inst);
// Runs the message loop; `idle` runs every time the queue has been emptied.
int run_message_loop(const std::function<void()>& idle);
// The flat control look, style 1: thin single borders instead of sunken 3-D edges on the
// edit boxes and lists of the calling thread's windows.
void apply_flat_look(int style);

}  // namespace tb
