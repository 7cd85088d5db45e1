#include <windows.h>

#include "app/shell.h"

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  tb::init_framework(inst);
  tb::shell::state();  // process-wide state exists before the main window
  if (!tb::shell::open_main_window()) return 1;
  int code = tb::run_message_loop([] {
    if (auto* w = tb::shell::main_window()) w->idle_check();
  });
  return code;
}
