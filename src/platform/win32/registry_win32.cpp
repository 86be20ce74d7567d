#include "platform/win32/registry_win32.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/registry_read_win32.h"

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Closes the key however the function leaves.
class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool WriteValue(RegistryRoot root, const std::string& key, const std::string& name, DWORD type,
                const void* data, std::size_t size) {
  OpenKey opened;
  if (RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, opened.out(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExA(opened.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                        static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

}  // namespace

bool Win32Registry::SetString(RegistryRoot root, const std::string& key, const std::string& name,
                              std::string_view value) {
  const std::string terminated(value);  // REG_SZ data carries its NUL
  return WriteValue(root, key, name, REG_SZ, terminated.c_str(), terminated.size() + 1);
}

bool Win32Registry::SetNumber(RegistryRoot root, const std::string& key, const std::string& name,
                              std::uint32_t value) {
  const DWORD number = value;
  return WriteValue(root, key, name, REG_DWORD, &number, sizeof number);
}

bool Win32Registry::SetBinary(RegistryRoot root, const std::string& key, const std::string& name,
                              std::string_view bytes) {
  return WriteValue(root, key, name, REG_BINARY, bytes.data(), bytes.size());
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
  OpenKey opened;
  const LONG open = RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_SET_VALUE, opened.out());
  if (open == ERROR_FILE_NOT_FOUND) return true;  // no key, no value
  if (open != ERROR_SUCCESS) return false;
  const LONG deleted = RegDeleteValueA(opened.get(), name.c_str());
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

bool Win32Registry::ValueExists(RegistryRoot root, const std::string& key, const std::string& name) {
  OpenKey opened;
  if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_QUERY_VALUE, opened.out()) != ERROR_SUCCESS)
    return false;
  return RegQueryValueExA(opened.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<RegistryValue> Win32Registry::Read(RegistryRoot root, const std::string& key, const std::string& name) {
  auto raw = ReadRegistryValue(RootKey(root), key, name);
  if (!raw) return std::nullopt;
  RegistryValue value;
  switch (raw->first) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      value.bytes = std::move(raw->second);
      while (!value.bytes.empty() && value.bytes.back() == '\0') value.bytes.pop_back();
      return value;
    case REG_DWORD:
      if (raw->second.size() != sizeof(DWORD)) return std::nullopt;
      value.type = RegistryValue::Type::Number;
      std::memcpy(&value.number, raw->second.data(), sizeof value.number);
      return value;
    case REG_BINARY:
      value.type = RegistryValue::Type::Binary;
      value.bytes = std::move(raw->second);
      return value;
    default:
      return std::nullopt;
  }
}
