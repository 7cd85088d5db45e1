// The radar's window: the pick gesture on 画板1 and the actions on the picked window.
#pragma once
#include <windows.h>

#include <optional>

#include "platform/handles.h"
#include "platform/window.h"
#include "radar/pick_win.h"
#include "radar/probe.h"
#include "radar/remote_win.h"

namespace tb::radar {

class RadarWindow : public Window {
 public:
  RadarWindow() = default;

  // The pick gesture: press, every move, release. Public so a move step can be timed alone.
  void begin_pick() { pick_.begin(); }
  void track() { pick_.track(); }
  void end_pick() { pick_.end(); }
  bool dragging() const { return pick_.dragging(); }

  ProcessNames& process_names() { return names_; }
  // Whether an action on the picked window has not ended yet.
  bool acting() const { return remote_.busy(); }
  HCURSOR target_cursor() const { return pick_.cursor(); }

 protected:
  void on_created() override;
  void on_destroyed() override;
  bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  // The handle box as a window; nothing when the box is empty.
  std::optional<HWND> picked() const;
  void show_readout(const Readout& r);
  // Every box as a line "名称：值" on the clipboard.
  void copy_all();
  void change_position();
  void change_title();
  void pin(bool topmost);
  void show_picked(bool visible);
  void fade(int position);
  void open_folder();
  void rotate_tip();

  WindowPick pick_;
  ProcessNames names_;  // cached for one drag
  RemoteWindows remote_;  // the actions on the picked window
};

// The open radar window, or nullptr.
RadarWindow* current();

}  // namespace tb::radar
