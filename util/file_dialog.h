// Open and save file dialogs and the folder rule the callers use to remember where to start.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace tb {

// Empty texts take the defaults: the current directory, the title "打开文件" / "保存文件", the
// filter "所有文件(*.*)|*.*" / "TXT文档(*.txt)|*.txt|所有文件(*.*)|*.*". The dialogs may change the
// current directory; it is put back afterwards unless keep_directory is set. Both return the
// full path chosen, or "" when the user cancels.
std::string open_file(HWND owner, std::string_view start_folder = {}, std::string_view title = {},
                      std::string_view filter = {}, bool keep_directory = false);
std::string save_file(HWND owner, std::string_view start_folder = {}, std::string_view title = {},
                      std::string_view filter = {}, DWORD filter_index = 1,
                      bool keep_directory = false);

// The path up to and including its last backslash; "" when it holds none.
std::string folder_of(std::string_view path);

}  // namespace tb
