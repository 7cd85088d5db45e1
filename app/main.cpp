#include <windows.h>

#include "app/shell.h"
#ifdef TB_STARTUP_SIGNAL
#include "bench/win/startup/startup_signal.h"
#endif

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  tb::init_framework(inst);
  tb::shell::state();  // process-wide state exists before the main window
#ifdef TB_STARTUP_SIGNAL
  // The start-up benchmark's build tells two moments: the main window shown and painted
  // (given before the window's own tasks, so it runs first once the first paint is done),
  // and the launcher filled and painted.
  tb::when_painted([] { tb::startup::signal(tb::startup::kWindow); });
#endif
  if (!tb::shell::open_main_window()) return 1;
#ifdef TB_STARTUP_SIGNAL
  // Runs after the launcher's task, and gives one that waits for the paint of the list.
  tb::when_painted([] { tb::when_painted([] { tb::startup::signal(tb::startup::kList); }); });
#endif
  return tb::run_message_loop([] {
    if (auto* w = tb::shell::main_window()) w->idle_check();
  });
}
