#include "driver/internet_settings.h"

#include <cstring>

namespace e2e {
namespace {

constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::optional<std::string> Query(const char* name, DWORD wantedType) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0, size = 0;
  std::optional<std::string> value;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == wantedType) {
    std::string bytes(size, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) == ERROR_SUCCESS)
      value = bytes.substr(0, size);
  }
  RegCloseKey(key);
  return value;
}

void Set(const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void Delete(const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

}  // namespace

std::optional<DWORD> InternetSettingNumber(const char* name) {
  const auto bytes = Query(name, REG_DWORD);
  if (!bytes || bytes->size() != sizeof(DWORD)) return std::nullopt;
  DWORD number;
  std::memcpy(&number, bytes->data(), sizeof number);
  return number;
}

std::optional<std::string> InternetSettingText(const char* name) {
  auto text = Query(name, REG_SZ);
  while (text && !text->empty() && text->back() == '\0') text->pop_back();
  return text;
}

void SetInternetSettingNumber(const char* name, DWORD value) { Set(name, REG_DWORD, &value, sizeof value); }

void SetInternetSettingText(const char* name, const std::string& value) {
  Set(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ClearInternetSettings() {
  SetInternetSettingNumber("ProxyEnable", 0);
  Delete("ProxyServer");
  Delete("AutoConfigURL");
}

bool InternetSettingsCleared() {
  return InternetSettingNumber("ProxyEnable").value_or(0) == 0 && !InternetSettingText("ProxyServer") &&
         !InternetSettingText("AutoConfigURL");
}

}  // namespace e2e
