#pragma once
// Tells WinINet, and the browsers that follow it, that the proxy settings
// in the registry have changed.
class InternetOptions {
 public:
  virtual ~InternetOptions() = default;
  // INTERNET_OPTION_SETTINGS_CHANGED, then INTERNET_OPTION_REFRESH: the
  // settings are read again. Results are of no use to the caller.
  virtual void SettingsChanged() = 0;
  virtual void Refresh() = 0;
};
