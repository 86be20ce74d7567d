#pragma once
// InternetGetConnectedState, then the probe page opened through WinINet
// past the cache.
#include <string>

#include "platform/connectivity_check.h"

class Win32ConnectivityCheck final : public ConnectivityCheck {
 public:
  explicit Win32ConnectivityCheck(std::string probeAddress) : probeAddress_(std::move(probeAddress)) {}
  bool Online() override;

 private:
  std::string probeAddress_;
};
