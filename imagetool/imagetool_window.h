// The image tool's window: picture sources and export, the live readout, slots and binding.
#pragma once
#include <windows.h>

#include <map>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clipboard_win.h"
#include "platform/handles.h"
#include "platform/window.h"
#include "radar/pick_win.h"

namespace tb::imagetool {

class ImageToolWindow : public Window {
 public:
  // One readout step: position, colour, texts, marker and magnifier. Public so a tick can be
  // timed alone.
  void tick();
  // The slot hotkey actions (n = 1..7) and the arrow moves.
  void fill_slot(int n);
  void toggle_binding();
  void separate();
  // A slot's right-click: its line of script (the 颜色 template) to the clipboard, offered
  // when the slot holds a pick. False for an empty slot.
  bool offer_slot_line(int slot);
  // Picture sources and export; public for tests that drive them without the dialogs.
  bool show_picture_file(const std::string& path);
  bool show_clipboard_picture();
  bool export_to(const std::string& path);
  // 找图 测试: the picture shown searched for on the screen, the hits outlined and told, the
  // line of script put on the clipboard.
  void find_on_screen();

 protected:
  void on_created() override;
  void on_destroyed() override;
  bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void register_hotkeys();
  void release_arrow_keys();
  void show_page(int page);
  void paint_page_buttons();
  void capture();
  void load();
  void export_picture();
  void set_swatch(std::string_view box, COLORREF c);
  void put(std::string_view box, const std::string& value);
  // The screen's colour at p: from the square of this tick when it holds p.
  COLORREF pixel_at(POINT p) const;
  void measure_desktop();
  void show_similarity();  // the similarity box from the settings
  void draw_magnifier(HDC dc, const RECT& r);

  ClipboardPicture clipboard_;  // the loaded picture, promised to the clipboard
  std::string picture_file_;    // the loaded file's bytes, for the clipboard
  std::string incoming_;        // the file being loaded
  radar::WindowPick pick_;      // the radar's pick gesture on 画板1
  WindowDc screen_{nullptr};            // the screen's DC, kept for the readout's pixel reads
  int zoom_ = 8;
  int origin_x_ = 0, origin_y_ = 0;  // subtracted from the mouse position while bound
  POINT corner_{};             // magnifier source corner of the last tick
  RECT desktop_{};             // the virtual screen: every monitor
  Dib square_;                 // the screen square the magnifier shows, taken at every tick
  bool square_read_ = false;    // whether this tick's copy of the square succeeded
  COLORREF marker_ = 0;        // colour of the marker: the pixel under the mouse
  GdiBrush handle_brush_;      // the handle box's background: grey, red while bound
  bool bound_ = false;
  HWND bound_window_ = nullptr;  // the window bound to: the search's region
  // What the search needs to know of the picture shown: whether there is one, the background
  // its separation left (those pixels do not count), the file it last came from or went to.
  struct Shown {
    bool any = false;
    std::optional<std::uint32_t> background;
    std::string file;
  } shown_;
  std::map<std::string, COLORREF, std::less<>> swatches_;
};

// The open tool window, or nullptr.
ImageToolWindow* current();

}  // namespace tb::imagetool
