#pragma once
// WinINet's InternetSetOptionA on the process-wide (null) handle.
#include "platform/internet_options.h"

class Win32InternetOptions final : public InternetOptions {
 public:
  void SettingsChanged() override;
  void Refresh() override;
};
