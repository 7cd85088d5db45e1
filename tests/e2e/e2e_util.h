// Starting the real toolbox from a program folder of its own and finding its windows.
#pragma once
#include <windows.h>

#include <string>

namespace tb::e2e {

// Deletes a folder and everything below it.
inline void remove_tree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE f = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (f != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = dir + L"\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) remove_tree(path);
      else DeleteFileW(path.c_str());
    } while (FindNextFileW(f, &fd));
    FindClose(f);
  }
  RemoveDirectoryW(dir.c_str());
}

// A started program; ending the object ends the process and removes its program folder.
struct Launched {
  PROCESS_INFORMATION pi{};
  std::wstring dir;
  ~Launched() {
    if (pi.hProcess) {
      TerminateProcess(pi.hProcess, 0);
      WaitForSingleObject(pi.hProcess, 5000);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
    if (!dir.empty()) remove_tree(dir);
  }
};

inline std::wstring make_program_dir(const wchar_t* tag) {
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  std::wstring dir = std::wstring(tmp) + L"tb_" + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                     std::to_wstring(GetTickCount());
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

// Copies `exe` into `dir`; returns the copy's path, or "" on failure.
inline std::wstring copy_program(const std::wstring& exe, const std::wstring& dir) {
  std::wstring copy = dir + L"\\" + exe.substr(exe.find_last_of(L"\\/") + 1);
  return CopyFileW(exe.c_str(), copy.c_str(), FALSE) ? copy : std::wstring();
}

// Starts the program at `path` with `dir` as its working folder.
inline bool start_program(const std::wstring& path, const std::wstring& dir, Launched& out) {
  STARTUPINFOW si{sizeof si};
  std::wstring cmd = L"\"" + path + L"\"";
  out.dir = dir;
  return CreateProcessW(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &out.pi);
}

// Copies `exe` into `dir` and starts it there; false if it could not be started.
inline bool launch(const std::wstring& exe, const std::wstring& dir, Launched& out) {
  std::wstring copy = copy_program(exe, dir);
  return !copy.empty() && start_program(copy, dir, out);
}

// The visible top-level window of the process with the given caption, or nullptr.
inline HWND find_window(DWORD pid, const wchar_t* caption) {
  struct Ctx {
    DWORD pid;
    const wchar_t* caption;
    HWND found;
  } ctx{pid, caption, nullptr};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        wchar_t buf[256] = {};
        GetWindowTextW(h, buf, 256);
        if (p == c->pid && IsWindowVisible(h) && lstrcmpW(buf, c->caption) == 0) c->found = h;
        return c->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

}  // namespace tb::e2e
