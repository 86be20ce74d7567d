#pragma once
// One ICMP echo through "icmp.dll", the address found with Windows
// Sockets. Sockets and the library are set up by the first ping of the
// process and kept until it ends.
#include "platform/icmp_echo.h"

class Win32IcmpEcho final : public IcmpEcho {
 public:
  int PingHost(const std::string& address, int timeoutMs) override;
};
