// The code manager: the snippet library's window, opened by the main window.
#pragma once
#include <functional>
#include <string>

namespace tb::codemanager {

// Asks the user for a name (the input window); returns what was typed, possibly "".
using AskText = std::function<std::string()>;

// Opens the window (no owner, not modal) on the snippet root beside the executable; when it
// is already open it is restored and brought forward. False if it could not be created.
bool open(AskText ask);
// The same on another root folder (tests, benchmarks).
bool open_at(std::string root, AskText ask);

}  // namespace tb::codemanager
