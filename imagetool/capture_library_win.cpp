#include "imagetool/capture_library_win.h"

#include <windows.h>
#include <shlobj.h>

#include "base/encoding.h"
#include "base/fileio.h"
#include "platform/late_bind.h"

// The DLL's bytes, straight from the build. The asm names are given explicitly so the 32-bit
// build's underscore prefix does not apply.
asm(".section .rdata,\"dr\"\n"
    ".balign 16\n"
    "tb_capture_dll_begin:\n"
    ".incbin \"" TB_CAPTURE_DLL_FILE "\"\n"
    "tb_capture_dll_end:\n"
    ".text\n");
extern "C" const char tb_capture_dll_begin[] asm("tb_capture_dll_begin");
extern "C" const char tb_capture_dll_end[] asm("tb_capture_dll_end");

namespace tb::imagetool {

namespace {

bool holds_embedded(const std::string& path) {
  std::string bytes;
  return read_file(path, bytes) && bytes == embedded_capture_library();
}

// Creates `folder` and any missing parents; true when it exists afterwards.
bool make_folders(const std::string& folder) {
  std::wstring w = to_wide(folder);
  while (!w.empty() && (w.back() == L'\\' || w.back() == L'/')) w.pop_back();
  if (w.empty()) return false;
  DWORD a = GetFileAttributesW(w.c_str());
  if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
  std::size_t cut = w.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 2 && !make_folders(to_gbk(w.substr(0, cut)))) return false;
  return CreateDirectoryW(w.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Reuses the file when its bytes are the embedded ones, else writes them.
bool ensure(const std::string& path) {
  return holds_embedded(path) || (write_file_atomic(path, embedded_capture_library()) && holds_embedded(path));
}

}  // namespace

std::string_view embedded_capture_library() {
  return {tb_capture_dll_begin, static_cast<std::size_t>(tb_capture_dll_end - tb_capture_dll_begin)};
}

std::string user_capture_folder() {
  // Bound on first use: the shell and COM libraries stay off the program's start-up.
  TB_LATE(L"shell32.dll", SHGetKnownFolderPath);
  TB_LATE(L"ole32.dll", CoTaskMemFree);
  if (!SHGetKnownFolderPath || !CoTaskMemFree) return {};
  PWSTR base = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &base)))
    folder = to_gbk(base) + "\\Tarvo\\";
  CoTaskMemFree(base);
  return folder;
}

std::string install_capture_library(const std::string& fixed_path, const std::string& user_folder) {
  if (ensure(fixed_path)) return fixed_path;
  if (user_folder.empty() || !make_folders(user_folder)) return {};
  std::string path = user_folder;
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  path += kCaptureLibraryName;
  return ensure(path) ? path : std::string();
}

CaptureOutcome run_region_capture() {
  using Jt = int(WINAPI*)(int, int, int, int);
  static Jt jt = nullptr;  // once loaded, the library stays for the life of the process
  if (!jt) {
    std::string path = install_capture_library(kCaptureLibraryPath, user_capture_folder());
    if (path.empty()) return CaptureOutcome::Unavailable;
    HMODULE m = LoadLibraryW(to_wide(path).c_str());
    if (!m) return CaptureOutcome::Unavailable;
    jt = reinterpret_cast<Jt>(reinterpret_cast<void*>(GetProcAddress(m, "JT")));
    if (!jt) {
      FreeLibrary(m);
      return CaptureOutcome::Unavailable;
    }
  }
  jt(1, 0xFF8800, 255, 255);
  return CaptureOutcome::Ran;
}

}  // namespace tb::imagetool
