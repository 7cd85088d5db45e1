// Whole-file byte I/O with GBK paths. Writes go through a temporary file beside the
// target that replaces it in one step.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace tb {

bool read_file(const std::string& path, std::string& out);
bool write_file_atomic(const std::string& path, std::string_view bytes);
// Takes a file's bytes piece by piece; false stops the writing.
using ByteSink = std::function<bool(std::string_view)>;
// The same for bytes made piece by piece: `produce` hands each piece to the sink it is given,
// so a large file is never held whole. A false from `produce` leaves the target as it was.
bool write_file_atomic(const std::string& path, const std::function<bool(const ByteSink&)>& produce);
bool remove_file(const std::string& path);
bool file_exists(const std::string& path);
// The running program's file, and its folder ending with a separator: where the state files live.
std::string program_path();
std::string program_dir();
// 配置信息.ini beside the program: the tools' options and remembered folders.
inline std::string config_ini() { return program_dir() + "配置信息.ini"; }

}  // namespace tb
