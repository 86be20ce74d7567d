#pragma once
// WinINet's InternetSetOptionA and InternetQueryOptionA on the
// process-wide (null) handle.
#include "platform/internet_options.h"

class Win32InternetOptions final : public InternetOptions {
 public:
  void SettingsChanged() override;
  void Refresh() override;
  void SetLanConnection(const LanProxySettings& settings) override;
  std::optional<LanProxySettings> QueryLanConnection() override;

 private:
  std::optional<LanProxySettings> QueryLan(unsigned long flagsOption);
};
