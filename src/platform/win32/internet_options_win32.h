#pragma once
// WinINet's InternetSetOptionA and InternetQueryOptionA on the
// process-wide (null) handle.
#include "platform/internet_options.h"

class Win32InternetOptions final : public InternetOptions {
 public:
  bool SettingsChanged() override;
  bool Refresh() override;
  bool SetConnection(const std::string& entry, const LanProxySettings& settings) override;
  std::optional<LanProxySettings> QueryConnection(const std::string& entry) override;
  bool KeepsConnectionSettings() override;

 private:
  std::optional<LanProxySettings> Query(const std::string& entry, unsigned long flagsOption);
};
