// Opening documents, folders, addresses and programs through the shell's "open" verb.
#pragma once
#include <string_view>

namespace tb {

// Opens `target` (GBK) with the shell's "open" verb, no parameters, normal window; does not
// wait for it. False when the shell refused.
bool shell_open(std::string_view target);
// Starts a program of the system folder (notepad.exe, calc.exe, ...) without waiting for it.
bool start_system_program(std::string_view exe);

}  // namespace tb
