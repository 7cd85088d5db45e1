// The companion region-capture library (手动截图.dll): its bytes carried inside the program,
// written to disk before use and loaded once per process.
#pragma once
#include <string>
#include <string_view>

namespace tb::imagetool {

// Where the library is expected, and the name it keeps in the per-user fallback folder. GBK.
inline constexpr const char* kCaptureLibraryPath = "C:\\Program Files\\手动截图.dll";
inline constexpr const char* kCaptureLibraryName = "手动截图.dll";

// The DLL file as built, embedded at link time.
std::string_view embedded_capture_library();

// %LOCALAPPDATA%\Tarvo\ (GBK, with the trailing backslash); "" when the system has none.
std::string user_capture_folder();

// Makes sure a file with exactly the embedded bytes exists and gives its path: `fixed_path`
// when it already holds them or can be written, else `user_folder` + the library's name (the
// folder is created). "" when neither could be written.
std::string install_capture_library(const std::string& fixed_path, const std::string& user_folder);

enum class CaptureOutcome { Ran, Unavailable };

// Installs (default paths), loads the library once and runs JT(1, 0xFF8800, 255, 255): the
// user selects a region and finds its picture on the clipboard, unless they gave up.
// Unavailable when the library could not be written or loaded.
CaptureOutcome run_region_capture();

}  // namespace tb::imagetool
