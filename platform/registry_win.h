// Registry values as GBK text.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tb {

// A string value (REG_SZ, or REG_EXPAND_SZ with its variables expanded); name "" is the
// key's default value. Nothing when the key or value is missing or of another type.
std::optional<std::string> registry_string(HKEY root, std::string_view key, std::string_view name);
// Writes a REG_SZ value, creating the key when missing. False when the registry refused.
bool registry_set_string(HKEY root, std::string_view key, std::string_view name, std::string_view value);

}  // namespace tb
