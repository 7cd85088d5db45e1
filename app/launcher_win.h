// The launcher on the main window's 工具 page: the grouped list inside 外形框, its events,
// and the menu popup with the group name popup and the item dialog.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "widgets/grouplist/grouplist.h"

namespace tb::shell {

class Launcher {
 public:
  // Creates the list in `frame` and binds its events; false when the list could not be made.
  bool create(HWND frame);
  // Fills the list from set.ini beside the program.
  void load();
  // Writes set.ini (then every group is collapsed); false when the file could not be written.
  bool save();
  grouplist::GroupList& list() { return *list_; }
  bool created() const { return list_ && list_->list_window() != 0; }

  // The group a right-click was about: the group itself, or the group of the item clicked.
  int target_group() const;
  // Opens the menu popup at the pointer, modal; as a right-click on `target` does.
  void open_menu(int target);
  // Files dropped at `at` (the list's client area) become items of the group there, saved
  // once; none is added when set.ini cannot be written. False then.
  bool add_files(const std::vector<std::string>& paths, POINT at);

 private:
  void flash(int item);
  int group_at(POINT at) const;
  void paint_hint(HWND list) const;

  std::unique_ptr<grouplist::GroupList> list_;
};

Launcher& launcher();

// Start-with-Windows on or off: the Run value "Velgo" under HKEY_LOCAL_MACHINE, or under
// HKEY_CURRENT_USER when the machine-wide key cannot be written. True when a write took.
// The roots are parameters so a test can hand in keys that refuse writes.
bool set_start_with_windows(bool on, HKEY machine = HKEY_LOCAL_MACHINE, HKEY user = HKEY_CURRENT_USER);

}  // namespace tb::shell
