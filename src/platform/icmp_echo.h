#pragma once
// One ICMP echo request ("ping") to a host.
#include <cstdint>
#include <string>

class IcmpEcho {
 public:
  virtual ~IcmpEcho() = default;
  // The round-trip time in milliseconds of one echo to `address` (a dotted
  // IPv4 address or a host name), or -1 when no reply came within
  // `timeoutMs`, the name does not resolve or ICMP is unavailable.
  virtual int PingHost(const std::string& address, int timeoutMs = 10000) = 0;
};

// The time of IcmpSendEcho's first reply record, or -1. A reply whose
// status is not success (0) is no answer from the host: a router's
// "destination unreachable" or "TTL expired" comes back as a reply too.
int RoundTripOfReply(std::uint32_t replies, std::uint32_t status, std::uint32_t roundTripMs);
