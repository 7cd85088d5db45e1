#include "util/file_dialog.h"

#include <commdlg.h>

#include "base/encoding.h"
#include "base/text.h"
#include "platform/late_bind.h"
#include "platform/window.h"
#include "util/filter_list.h"

namespace tb {

namespace {

constexpr DWORD kNameChars = 512;

std::wstring current_directory() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(n, L'\0');
  n = GetCurrentDirectoryW(n, dir.data());
  dir.resize(n);
  return dir;
}

// Converted piece by piece so a malformed last character cannot swallow a separator.
std::wstring to_wide_list(std::string_view list) {
  std::wstring out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] != '\0') continue;
    out += to_wide(list.substr(start, i - start));
    out += L'\0';
    start = i + 1;
  }
  return out;
}

std::string run_dialog(bool save, HWND owner, std::string_view start_folder, std::string_view title,
                       std::string_view filter, DWORD filter_index, bool keep_directory) {
  const std::wstring remembered = current_directory();
  const std::wstring filters = to_wide_list(build_filter_list(filter));
  const std::wstring initial_dir = start_folder.empty() ? remembered : to_wide(start_folder);
  const std::wstring caption = to_wide(title);

  wchar_t file[kNameChars + 1] = {};
  wchar_t file_title[kNameChars + 1] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = filter_index;
  ofn.lpstrFile = file;
  ofn.nMaxFile = kNameChars;
  ofn.lpstrFileTitle = file_title;
  ofn.nMaxFileTitle = kNameChars;
  ofn.lpstrInitialDir = initial_dir.c_str();
  ofn.lpstrTitle = caption.c_str();
  ofn.Flags = 0;  // no overwrite prompt, single selection; the dialog may move the current directory
  ofn.lpstrDefExt = save ? L"" : nullptr;

  TB_LATE(L"comdlg32.dll", GetSaveFileNameW);
  TB_LATE(L"comdlg32.dll", GetOpenFileNameW);
  auto run = save ? GetSaveFileNameW : GetOpenFileNameW;
  BOOL chosen = FALSE;
  {
    CommonControlsLook look;
    chosen = run && run(&ofn);
  }
  if (!keep_directory) SetCurrentDirectoryW(remembered.c_str());
  return chosen ? to_gbk(file) : std::string();
}

}  // namespace

std::string open_file(HWND owner, std::string_view start_folder, std::string_view title,
                      std::string_view filter, bool keep_directory) {
  return run_dialog(false, owner, start_folder, title.empty() ? "打开文件" : title,
                    filter.empty() ? "所有文件(*.*)|*.*" : filter, 1, keep_directory);
}

std::string save_file(HWND owner, std::string_view start_folder, std::string_view title,
                      std::string_view filter, DWORD filter_index, bool keep_directory) {
  return run_dialog(true, owner, start_folder, title.empty() ? "保存文件" : title,
                    filter.empty() ? "TXT文档(*.txt)|*.txt|所有文件(*.*)|*.*" : filter, filter_index,
                    keep_directory);
}

std::string folder_of(std::string_view path) {
  std::size_t at = rfind(path, "\\");
  return at == npos ? std::string() : std::string(path.substr(0, at + 1));
}

}  // namespace tb
