#pragma once
// WinINet's view of the proxy settings: each connection's settings, and
// the notice that the settings have changed.
#include <cstdint>
#include <optional>
#include <string>

// A connection's proxy settings as WinINet keeps them for the user (for
// the LAN connection, the DefaultConnectionSettings record that current
// Windows, WinHTTP and the browsers following it read).
struct LanProxySettings {
  // PROXY_TYPE_* bits.
  static constexpr std::uint32_t kDirect = 0x01;
  static constexpr std::uint32_t kProxy = 0x02;
  static constexpr std::uint32_t kAutoConfigUrl = 0x04;
  static constexpr std::uint32_t kAutoDetect = 0x08;

  std::uint32_t flags = kDirect;
  std::string proxyServer;             // "" for none
  std::optional<std::string> bypass;   // nothing: left as it is when set
  std::string autoConfigUrl;           // "" for none

  bool operator==(const LanProxySettings&) const = default;
};

class InternetOptions {
 public:
  virtual ~InternetOptions() = default;
  // INTERNET_OPTION_SETTINGS_CHANGED, then INTERNET_OPTION_REFRESH: the
  // settings are read again. False when WinINet refused the call.
  virtual bool SettingsChanged() = 0;
  virtual bool Refresh() = 0;
  // INTERNET_OPTION_PER_CONNECTION_OPTION for one connection: "" is the
  // LAN connection, any other name a phone-book entry. The flags, the
  // proxy server and the automatic configuration address (and the bypass
  // list when given). False when WinINet refused the call.
  virtual bool SetConnection(const std::string& entry, const LanProxySettings& settings) = 0;
  // The same options read back; nothing when WinINet does not answer.
  virtual std::optional<LanProxySettings> QueryConnection(const std::string& entry) = 0;
  // False where WinINet accepts the per-connection call but keeps nothing
  // of it (Wine), so what is read back says nothing.
  virtual bool KeepsConnectionSettings() = 0;

  bool SetLanConnection(const LanProxySettings& settings) { return SetConnection("", settings); }
  std::optional<LanProxySettings> QueryLanConnection() { return QueryConnection(""); }
};
