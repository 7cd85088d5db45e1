// The toolbox shell: process-wide state, the main window and the two small shared windows.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "app/docking.h"
#include "platform/window.h"

namespace tb::shell {

// Process-wide state created before the main window is shown and released at exit.
struct State {
  int docking_margin = 3;
  std::intptr_t menu_target = 0;
  std::intptr_t flashing_item = 0;
  std::string input_result;
  POINT autohide_point{};
};
State& state();

class MainWindow : public Window {
 public:
  void select_tab(int n);
  // The auto-hide checks: at every idle moment of the UI thread, and on the 50 ms timer.
  void idle_check();
  void timer_check();
  void activate();
  void exit_process();
  // Enter in the search box: the forum search for its text.
  void search();
  // The update page's body (possibly empty): the question and the author's message.
  void show_update(std::string_view body);

 protected:
  void on_created() override;
  bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  bool place(const dock::Box& now, const dock::Box& next);
  dock::Box box() const;
  bool moving_ = false;
  bool placing_ = false;  // a docking move of our own is under way
};

MainWindow* main_window();
// Loads the main window; false if it could not be created.
bool open_main_window();

// Opens the notice window (not modal) with the given message and returns at once.
void show_notice(std::string_view text);
// Opens the input window modally; returns what its box held when it closed.
std::string ask_for_text();
// The call-out hotkey's action.
void activate_main_window();

}  // namespace tb::shell
