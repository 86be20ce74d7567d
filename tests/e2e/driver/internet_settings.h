#pragma once
// The per-user Internet settings the proxy modes write, read and set from
// outside the program.
#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

std::optional<DWORD> InternetSettingNumber(const char* name);
std::optional<std::string> InternetSettingText(const char* name);
void SetInternetSettingNumber(const char* name, DWORD value);
void SetInternetSettingText(const char* name, const std::string& value);

// No proxy and no automatic configuration: ProxyEnable 0, ProxyServer and
// AutoConfigURL deleted, the state a stop leaves.
void ClearInternetSettings();
bool InternetSettingsCleared();

}  // namespace e2e
