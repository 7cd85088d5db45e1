// A thin window base: builds a top-level window and its controls from a table, finds
// controls by stored name, and dispatches control events to handlers bound by name.
//
// Ownership: a window object is made by Window::open (or run_modal) and belongs to its
// window from creation to WM_NCDESTROY, when it is deleted; nothing touches it afterwards.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"
#include "platform/picture.h"
#include "platform/theme.h"

namespace tb {

class Control;
class PaintedHost;

enum class Event {
  Click,        // buttons, picture buttons, check boxes, radio buttons, transparent labels
  DoubleClick,  // list boxes, trees and any control that sees a double-click
  MouseDown,    // left button pressed (x, y relative to the control)
  MouseUp,
  MouseMove,
  RightClick,   // "" too: the window's own background; answered, a control's own menu stays away
  Change,       // edit and rich edit text changed, list/tree selection changed
  Focus,        // the control received the keyboard focus
  KeyDown,      // key code in `key`; handled = the control does not see the key
  Tick,         // timer
  Scroll,       // scroll bar position changed, position in `pos`
  Drop,         // files dropped, paths in `files`
  Menu,         // pop-up menu item chosen, 0-based index in `item`
  Rename,       // tree label edited: new text in `text`, node in `node`; refuse() keeps the old
  Colour,       // a label, edit or list asks for its colours: `dc`; answer() a brush
  CaptureLost,  // the mouse capture was taken away from the control
  Close,        // "" only: the window is asked to close; refuse() keeps it open
};

struct EventArgs {
  int x = 0, y = 0;
  unsigned key = 0;
  int pos = 0;
  int item = 0;
  std::vector<std::string> files;
  std::string text;
  std::intptr_t node = 0;
  HDC dc = nullptr;
  // The handler's answer: whether it handled the event, and the result the system expects.
  bool handled = false;
  LRESULT result = 0;
  void answer(LRESULT r) {
    handled = true;
    result = r;
  }
  void refuse() { answer(FALSE); }
};

using Handler = std::function<void(EventArgs&)>;
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

struct OpenOptions {
  HWND owner = nullptr;
  bool show = true;
  bool topmost = false;  // made on top of other programs' windows (one step less than later)
};

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Makes a window of type W from its table, shows it, then runs its on_created(). The
  // object belongs to the window. nullptr when the window could not be made or closed
  // itself while being created.
  template <class W = Window>
  static W* open(const WindowDef& def, const OpenOptions& o = {}) {
    auto* w = new W();
    return w->build(def, o, {}) ? w : nullptr;
  }
  // A window that exists at most once: `slot` points at it while it lives and is cleared
  // when it is destroyed. Returns the existing window if there is one.
  template <class W>
  static W* open_single(W*& slot, const WindowDef& def, const OpenOptions& o = {}) {
    if (slot) return slot;
    auto* w = new W();
    slot = w;  // before its created handler runs, so that one cannot open a second
    return w->build(def, o, [&slot] { slot = nullptr; }) ? w : nullptr;
  }
  // A tool window that exists once: the open one is restored and brought forward, else it
  // is opened. False if it could not be made.
  template <class W>
  static bool open_or_raise(W*& slot, const WindowDef& def, const OpenOptions& o = {}) {
    if (slot && slot->hwnd()) {
      slot->bring_forward();
      return true;
    }
    return open_single(slot, def, o) != nullptr;
  }
  // Opens W modally: the toolbox's other windows are disabled until it is gone. Returns what
  // it ended with (end_modal), 0 when it was closed otherwise. A WM_QUIT that arrives
  // meanwhile closes it and is posted again for the outer loop.
  template <class W>
  static int run_modal(const WindowDef& def, const OpenOptions& o = {}) {
    return modal_loop(new W(), def, o);
  }

  void close();  // asks the window to close (Close handlers may refuse)
  // Restores the window if minimised and brings it in front, active.
  void bring_forward();
  void destroy();  // destroys it without asking
  HWND hwnd() const { return hwnd_; }
  const WindowDef* def() const { return def_; }
  static Window* from(HWND w);  // the framework window of w, nullptr for any other
  // Every framework window that is open now, oldest first.
  static std::vector<Window*> open_windows();
  // Asks every open window but `except` to close; false when one refused.
  static bool close_all(Window* except);

  // Controls by stored name; nullptr when there is none, or the row is drawn by its
  // container (style::kDrawn).
  HWND control(std::string_view name) const;
  // Where a row lies: the window it is in (its own for a windowed row, its container's for
  // a drawn one) and its rectangle in that window's client area. False for an unknown row
  // or one that has no place yet.
  bool locate(std::string_view name, HWND& in, RECT& r);
  // Whether a row is shown now (and its window, or its container, too).
  bool visible(std::string_view name);
  const ControlDef* control_def(std::string_view name) const;

  void on(std::string_view name, Event ev, Handler h);  // name "" is the window itself
  void set_painter(std::string_view name, Painter p);     // "" is the window background
  void repaint(std::string_view name);
  // Stored names the code used that the window's table does not have (typos).
  const std::set<std::string, std::less<>>& unknown_names() const { return unknown_; }

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
  void set_topmost(bool on);
  void show_popup_menu(std::string_view name);  // at the pointer
  // A menu of these items at the pointer ("-" a separator); the chosen item's index, or -1.
  // With a `group` caption the items open from one entry of that caption, greyed when empty.
  int choose_from_menu(const std::vector<std::string>& items, std::string_view group = {});
  // The caption's minimise and close buttons: their glyphs, and minimising or closing.
  void caption_buttons(std::string_view minimise, std::string_view close);
  // The pixel surface of a drawing panel (empty for other controls); repaint() shows changes.
  Surface surface(std::string_view name);
  // Gives a drawing panel a new surface; the panel takes its size in device pixels. False for
  // an empty picture or a control that is no drawing panel.
  bool set_surface(std::string_view name, Dib dib);
  // Replaces a standard control's window by an empty new one from its table row, in the same
  // place and order. Emptying a rich edit of many lines this way is immediate; under Wine
  // deleting them costs time that grows with the square of their number.
  bool renew(std::string_view name);
  // Ends a modal window with `result`.
  void end_modal(int result);

  // Design pixels to device pixels at the screen DPI.
  int scale(int v) const { return MulDiv(v, dpi_, 96); }
  int scale_pct() const { return MulDiv(100, dpi_, 96); }
  int dpi() const { return dpi_; }

 protected:
  virtual void on_created() {}
  // Runs at WM_NCDESTROY, with the object whole; it is deleted right after.
  virtual void on_destroyed() {}
  // Messages of the top-level window not handled by the framework; return true if handled.
  virtual bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // Runs the handler bound to name + event; returns the handler's answer in `a`.
  bool fire(std::string_view name, Event ev, EventArgs& a);
  bool fire(std::string_view name, Event ev) {
    EventArgs a;
    return fire(name, ev, a);
  }

 public:
  // Held while the framework works inside one of the window's messages: a window destroyed
  // meanwhile is deleted only when the outermost of them has returned.
  struct Busy {
    Window* w;
    explicit Busy(Window* win) : w(win) { ++w->depth_; }
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
  };

 private:
  struct Modal;
  friend class Control;
  friend void init_framework(HINSTANCE inst);
  bool build(const WindowDef& def, const OpenOptions& o, std::function<void()> gone);
  static int modal_loop(Window* w, const WindowDef& def, const OpenOptions& o);
  static LRESULT CALLBACK window_proc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void paint(HDC dc, const RECT& rc);
  void drop_files(WPARAM drop);  // an HDROP
  bool bound(std::string_view name, Event ev) const;
  void add_tooltip(Control& c);
  void remove_tooltip(Control& c);
  void add_pending_tooltips();
  HWND container_of(const ControlDef& d);
  PaintedHost* host_of(const ControlDef& d);
  Control* made(std::string_view name);
  void open_page(std::pair<int, int> page);
  Control* find(std::string_view name);
  const Control* find(std::string_view name) const;
  Control* by_id(int id);
  void note_unknown(std::string_view name) const;
  void finish();

  HWND hwnd_ = nullptr;
  const WindowDef* def_ = nullptr;
  int dpi_ = 96;
  std::function<void()> gone_;  // clears the single-window slot
  Modal* modal_ = nullptr;
  int depth_ = 0;
  bool destroying_ = false;
  bool dead_ = false;  // the window is gone; the object goes when depth_ is back to 0
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<std::string, std::size_t, std::less<>> by_name_;
  std::map<std::pair<std::string, Event>, std::shared_ptr<Handler>, std::less<>> handlers_;
  mutable std::set<std::string, std::less<>> unknown_;
  Painter background_;
  std::unique_ptr<PaintedHost> host_;  // the rows the window paints on its client area
  HWND tooltip_ = nullptr;
  bool pending_tips_ = false;  // rows with tooltips wait for the mouse
  // Rows on a tab page not shown at first are made when the page is first shown or one of
  // them is asked for: (tab's row, page) for each row, (-1, -1) for rows made at once.
  std::vector<std::pair<int, int>> page_of_;
  std::set<std::pair<int, int>> made_pages_;
};

// While one lives, controls, dialogs and message boxes this thread makes take the common
// controls' version 6, the system's current look. The program activates it only for what
// looks different with it: the library then loads with the first of them, not at start-up,
// where under Wine it costs a tenth of the time a window takes to appear.
class CommonControlsLook {
 public:
  CommonControlsLook();
  ~CommonControlsLook();
  CommonControlsLook(const CommonControlsLook&) = delete;
  CommonControlsLook& operator=(const CommonControlsLook&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// Screen DPI (LOGPIXELSX); the process is DPI-aware through its manifest.
int screen_dpi();
// Registers the framework's window classes and common controls; call once at start-up.
void init_framework(HINSTANCE inst);
// Runs the message loop; `idle` runs every time the queue has been emptied.
int run_message_loop(const std::function<void()>& idle);
// Runs `task` on this thread once every window's pending paint is done (a timer, which a
// message loop hands out only when no paint is waiting; 10 ms at the earliest): work that
// must not delay the first look of a window just made. Tasks run in the order given; one
// given by a task runs after the paints that task caused.
void when_painted(std::function<void()> task);
// Handles the messages waiting in this thread's queue. False when it met WM_QUIT (its code
// in quit_code, the message taken from the queue).
bool dispatch_pending(int& quit_code);
// Handles the waiting messages; a WM_QUIT met is posted again for the loop that owns it.
void pump_pending();
// The same, only when user input waits: long work on the UI thread calls it between steps so
// the window answers.
void pump_pending_input();

}  // namespace tb
