#include <windows.h>

#include "app/shell.h"

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  tb::init_framework(inst);
  tb::shell::state();  // process-wide state exists before the main window
  if (!tb::shell::open_main_window()) return 1;
  int code = tb::run_message_loop([] {
    if (auto* w = tb::shell::main_window()) w->idle_check();
#ifdef TB_STARTUP_SIGNAL
    // The start-up benchmark's build: the first idle pass follows the created handler and the
    // first paint of every window, which is where start-up ends.
    static HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE,
                                     (L"TbStartupReady_" + std::to_wstring(GetCurrentProcessId())).c_str());
    if (ready) SetEvent(ready);
#endif
  });
  return code;
}
