#include "platform/win32/internet_options_win32.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

namespace {

// An empty text is no value at all: WinINet then removes the setting.
LPSTR TextOption(const std::string& text) { return text.empty() ? nullptr : const_cast<LPSTR>(text.c_str()); }

// Takes over a text WinINet allocated for a query.
std::string TakeText(LPSTR text) {
  if (!text) return {};
  std::string taken(text);
  GlobalFree(text);
  return taken;
}

// Null for the LAN connection, else the phone-book entry's name.
LPSTR ConnectionName(const std::string& entry) { return entry.empty() ? nullptr : const_cast<LPSTR>(entry.c_str()); }

}  // namespace

bool Win32InternetOptions::SettingsChanged() {
  return InternetSetOptionA(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0) != FALSE;
}

bool Win32InternetOptions::Refresh() { return InternetSetOptionA(nullptr, INTERNET_OPTION_REFRESH, nullptr, 0) != FALSE; }

bool Win32InternetOptions::SetConnection(const std::string& entry, const LanProxySettings& settings) {
  std::vector<INTERNET_PER_CONN_OPTIONA> options(3);
  options[0].dwOption = INTERNET_PER_CONN_FLAGS;
  options[0].Value.dwValue = settings.flags;
  options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
  options[1].Value.pszValue = TextOption(settings.proxyServer);
  options[2].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
  options[2].Value.pszValue = TextOption(settings.autoConfigUrl);
  if (settings.bypass) {
    INTERNET_PER_CONN_OPTIONA bypass{};
    bypass.dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    bypass.Value.pszValue = TextOption(*settings.bypass);
    options.push_back(bypass);
  }
  INTERNET_PER_CONN_OPTION_LISTA list{};
  list.dwSize = sizeof list;
  list.pszConnection = ConnectionName(entry);
  list.dwOptionCount = static_cast<DWORD>(options.size());
  list.pOptions = options.data();
  return InternetSetOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof list) != FALSE;
}

std::optional<LanProxySettings> Win32InternetOptions::QueryConnection(const std::string& entry) {
  // Windows 7 and later report the flags as the user set them (automatic
  // detection included) only through the _UI option; older ones know only
  // the plain one.
  for (DWORD flagsOption : {DWORD{INTERNET_PER_CONN_FLAGS_UI}, DWORD{INTERNET_PER_CONN_FLAGS}})
    if (auto settings = Query(entry, flagsOption)) return settings;
  return std::nullopt;
}

bool Win32InternetOptions::KeepsConnectionSettings() {
  // Wine's WinINet accepts the per-connection call and keeps nothing of
  // it; its ntdll is the one that exports wine_get_version.
  static const bool wine = [] {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return !wine;
}

std::optional<LanProxySettings> Win32InternetOptions::Query(const std::string& entry, unsigned long flagsOption) {
  INTERNET_PER_CONN_OPTIONA options[4] = {};
  options[0].dwOption = flagsOption;
  options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
  options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
  options[3].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
  INTERNET_PER_CONN_OPTION_LISTA list{};
  list.dwSize = sizeof list;
  list.pszConnection = ConnectionName(entry);
  list.dwOptionCount = 4;
  list.pOptions = options;
  DWORD size = sizeof list;
  if (!InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size)) return std::nullopt;
  LanProxySettings settings;
  settings.flags = options[0].Value.dwValue;
  settings.proxyServer = TakeText(options[1].Value.pszValue);
  settings.bypass = TakeText(options[2].Value.pszValue);
  settings.autoConfigUrl = TakeText(options[3].Value.pszValue);
  return settings;
}
