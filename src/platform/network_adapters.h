#pragma once
// The machine's network adapters as the IP Helper lists them.
#include <string>
#include <vector>

struct NetworkAdapter {
  std::string description;     // e.g. "TAP-Windows Adapter V9"
  std::string connectionName;  // the name netsh knows, "" when the registry has none
  std::string gateway;         // first default gateway, dotted; "0.0.0.0" or "" when none
  std::string preferredDns;    // first DNS server, "" when it cannot be asked
};

class NetworkAdapters {
 public:
  virtual ~NetworkAdapters() = default;
  // In the system's order; empty when the system cannot list them.
  virtual std::vector<NetworkAdapter> List() = 0;
};
