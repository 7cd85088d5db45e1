#include <windows.h>

#include <string>

#include "app/shell.h"

#ifdef TB_STARTUP_SIGNAL
namespace {
// The start-up benchmark's build tells two moments through named events: the main window
// shown and painted, and the launcher filled and painted.
void signal(const wchar_t* event) {
  HANDLE e = OpenEventW(EVENT_MODIFY_STATE, FALSE, (event + std::to_wstring(GetCurrentProcessId())).c_str());
  if (e) {
    SetEvent(e);
    CloseHandle(e);
  }
}
}  // namespace
#endif

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
  tb::init_framework(inst);
  tb::shell::state();  // process-wide state exists before the main window
#ifdef TB_STARTUP_SIGNAL
  // Given before the window's own tasks, so it runs first once the first paint is done.
  tb::when_painted([] { signal(L"TbStartupReady_"); });
#endif
  if (!tb::shell::open_main_window()) return 1;
#ifdef TB_STARTUP_SIGNAL
  // Runs after the launcher's task, and gives one that waits for the paint of the list.
  tb::when_painted([] { tb::when_painted([] { signal(L"TbStartupList_"); }); });
#endif
  return tb::run_message_loop([] {
    if (auto* w = tb::shell::main_window()) w->idle_check();
  });
}
