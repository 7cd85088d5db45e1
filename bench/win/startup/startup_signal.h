// How a program started by the start-up benchmark tells it a moment: it writes the
// performance counter (one clock for every process) into the benchmark's shared slots, then
// sets the moment's event. The benchmark reads the time written, not the time it woke up:
// on two cores its wake-up waits behind the program's own next work.
#pragma once
#include <windows.h>

#include <string>

namespace tb::startup {

enum Moment { kWindow = 0, kList = 1 };

inline std::wstring event_name(Moment m, DWORD pid) {
  return (m == kWindow ? L"TbStartupReady_" : L"TbStartupList_") + std::to_wstring(pid);
}
inline std::wstring slots_name(DWORD pid) { return L"TbStartupTimes_" + std::to_wstring(pid); }

inline void signal(Moment m) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const DWORD pid = GetCurrentProcessId();
  if (HANDLE map = OpenFileMappingW(FILE_MAP_WRITE, FALSE, slots_name(pid).c_str())) {
    if (void* view = MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 2 * sizeof(LONGLONG))) {
      static_cast<LONGLONG*>(view)[m] = now.QuadPart;
      UnmapViewOfFile(view);
    }
    CloseHandle(map);
  }
  if (HANDLE e = OpenEventW(EVENT_MODIFY_STATE, FALSE, event_name(m, pid).c_str())) {
    SetEvent(e);
    CloseHandle(e);
  }
}

}  // namespace tb::startup
