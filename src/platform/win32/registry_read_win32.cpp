#include "platform/win32/registry_read_win32.h"

#include <cstring>

std::optional<std::pair<DWORD, std::string>> ReadRegistryValue(HKEY root, const std::string& key,
                                                              const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0, size = 0;
  std::optional<std::pair<DWORD, std::string>> value;
  if (RegQueryValueExA(opened, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::string bytes(size, '\0');
    if (RegQueryValueExA(opened, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
        ERROR_SUCCESS) {
      bytes.resize(size);
      value.emplace(type, std::move(bytes));
    }
  }
  RegCloseKey(opened);
  return value;
}

std::optional<std::string> ReadRegistryString(HKEY root, const std::string& key, const std::string& name) {
  const auto value = ReadRegistryValue(root, key, name);
  if (!value || (value->first != REG_SZ && value->first != REG_EXPAND_SZ)) return std::nullopt;
  std::string text(value->second.begin(), value->second.end());
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

std::optional<std::uint32_t> ReadRegistryNumber(HKEY root, const std::string& key, const std::string& name) {
  const auto value = ReadRegistryValue(root, key, name);
  if (!value || value->first != REG_DWORD || value->second.size() != sizeof(DWORD)) return std::nullopt;
  DWORD number = 0;
  std::memcpy(&number, value->second.data(), sizeof number);
  return number;
}
