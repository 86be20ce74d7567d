#pragma once
// One ICMP echo request ("ping") to a host.
#include <string>

class IcmpEcho {
 public:
  virtual ~IcmpEcho() = default;
  // The round-trip time in milliseconds of one echo to `address` (a dotted
  // IPv4 address or a host name), or -1 when no reply came within
  // `timeoutMs`, the name does not resolve or ICMP is unavailable.
  virtual int PingHost(const std::string& address, int timeoutMs = 10000) = 0;
};
