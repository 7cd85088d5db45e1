#include <windows.h>

#include <initializer_list>

#include "imagetool/capture_dll/session.h"

namespace capture {
namespace {
HINSTANCE g_module = nullptr;
}
HINSTANCE module() { return g_module; }
}  // namespace capture

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    capture::g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    // Classes outlive a DLL that is unloaded; a later load registers them afresh.
    for (const wchar_t* name : {capture::kSelectionClass, capture::kToolbarClass, capture::kMagnifierClass})
      UnregisterClassW(name, instance);
  }
  return TRUE;
}
