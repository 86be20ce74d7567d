#pragma once
// The network adapters from the IP Helper, with their connection names from
// the registry.
#include "platform/network_adapters.h"

class Win32NetworkAdapters final : public NetworkAdapters {
 public:
  std::vector<NetworkAdapter> List() override;
};
