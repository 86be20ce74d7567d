#pragma once
// The per-user Internet settings from the registry.
#include "platform/proxy_settings_reader.h"

class Win32ProxySettingsReader final : public ProxySettingsReader {
 public:
  UserProxySettings Read() override;
};
