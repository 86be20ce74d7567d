#pragma once
// The per-user Internet settings as they are now, read only.
#include <cstdint>
#include <string>

struct UserProxySettings {
  std::uint32_t proxyEnable = 0;  // ProxyEnable; 0 when missing
  std::string proxyServer;        // ProxyServer; "" when missing
  std::string autoConfigUrl;      // AutoConfigURL; "" when missing
};

class ProxySettingsReader {
 public:
  virtual ~ProxySettingsReader() = default;
  virtual UserProxySettings Read() = 0;
};
