#include "platform/win32/proxy_settings_reader_win32.h"

#include "platform/win32/registry_read_win32.h"

UserProxySettings Win32ProxySettingsReader::Read() {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  UserProxySettings settings;
  settings.proxyEnable = ReadRegistryNumber(HKEY_CURRENT_USER, key, "ProxyEnable").value_or(0);
  settings.proxyServer = ReadRegistryString(HKEY_CURRENT_USER, key, "ProxyServer").value_or("");
  settings.autoConfigUrl = ReadRegistryString(HKEY_CURRENT_USER, key, "AutoConfigURL").value_or("");
  return settings;
}
