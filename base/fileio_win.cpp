#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "base/encoding.h"
#include "base/fileio.h"
#include "base/owned.h"
#include "base/text.h"

namespace tb {

namespace {
struct FileTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
using UniqueHandle = Owned<HANDLE, FileTraits>;
}  // namespace

bool read_file(const std::string& path, std::string& out) {
  out.clear();
  UniqueHandle h(CreateFileW(to_wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  // The size the file has now is read straight into the caller's buffer, which a large
  // picture then never outgrows (new memory costs more than the read); what a growing file
  // adds meanwhile comes after it in small steps.
  LARGE_INTEGER size{};
  std::size_t expect = 0;
  if (GetFileSizeEx(h.get(), &size) && size.QuadPart > 0 && size.QuadPart < (std::int64_t{1} << 31))
    expect = static_cast<std::size_t>(size.QuadPart);
  out.resize(expect);
  std::size_t have = 0;
  DWORD n = 0;
  while (have < expect) {
    if (!ReadFile(h.get(), out.data() + have, static_cast<DWORD>(expect - have), &n, nullptr)) return false;
    if (n == 0) break;  // it shrank
    have += n;
  }
  out.resize(have);
  char more[4096];
  for (;;) {
    if (!ReadFile(h.get(), more, sizeof more, &n, nullptr)) return false;
    if (n == 0) return true;
    out.append(more, n);
  }
}

bool write_file_atomic(const std::string& path, const std::function<bool(const ByteSink&)>& produce) {
  std::wstring target = to_wide(path);
  std::wstring tmp = target + L".tmp~" + std::to_wstring(GetCurrentProcessId());
  bool ok;
  {
    UniqueHandle h(CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    ok = produce([&h](std::string_view piece) {
      DWORD written = 0;
      return piece.size() <= 0xFFFFFFFFu &&
             WriteFile(h.get(), piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr) &&
             written == piece.size();
    }) && FlushFileBuffers(h.get());
  }
  if (ok) ok = MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(tmp.c_str());
  return ok;
}

bool write_file_atomic(const std::string& path, std::string_view bytes) {
  return write_file_atomic(path, [bytes](const ByteSink& sink) { return sink(bytes); });
}

bool remove_file(const std::string& path) { return DeleteFileW(to_wide(path).c_str()) != 0; }

bool file_exists(const std::string& path) {
  return GetFileAttributesW(to_wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string program_path() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return to_gbk(buf.substr(0, n));
    buf.resize(buf.size() * 2);  // a long path: try again with room for it
  }
}

std::string program_dir() {
  std::string p = program_path();
  std::size_t cut = 0;
  for (std::size_t i = 0; i < p.size(); i += char_len(p, i))
    if (p[i] == '\\' || p[i] == '/') cut = i + 1;  // on character boundaries: a trail byte can be 0x5C
  return p.substr(0, cut);
}

}  // namespace tb
