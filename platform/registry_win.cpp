#include "platform/registry_win.h"

#include "base/encoding.h"
#include "base/owned.h"

namespace tb {

namespace {
struct KeyTraits {
  static HKEY invalid() { return nullptr; }
  static void close(HKEY h) { RegCloseKey(h); }
};
}  // namespace

std::optional<std::string> registry_string(HKEY root, std::string_view key, std::string_view name) {
  const std::wstring k = to_wide(key), n = to_wide(name);
  const wchar_t* value = name.empty() ? nullptr : n.c_str();
  DWORD bytes = 0;
  // REG_SZ takes REG_EXPAND_SZ values too, expanded (asking for REG_EXPAND_SZ itself would
  // need RRF_NOEXPAND).
  const DWORD flags = RRF_RT_REG_SZ;
  if (RegGetValueW(root, k.c_str(), value, flags, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
  std::wstring buf(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
  if (RegGetValueW(root, k.c_str(), value, flags, nullptr, buf.data(), &bytes) != ERROR_SUCCESS) return std::nullopt;
  buf.resize(wcsnlen(buf.c_str(), buf.size()));
  return to_gbk(buf);
}

bool registry_set_string(HKEY root, std::string_view key, std::string_view name, std::string_view value) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(root, to_wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
    return false;
  Owned<HKEY, KeyTraits> h(raw);
  const std::wstring v = to_wide(value);
  const std::wstring n = to_wide(name);
  LONG r = RegSetValueExW(h.get(), name.empty() ? nullptr : n.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                          static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
  return r == ERROR_SUCCESS;
}

}  // namespace tb
