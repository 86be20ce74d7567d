#pragma once
// TCP connects on non-blocking Windows Sockets, watched with select().
#include <cstdint>
#include <map>

#include "platform/tcp_connects.h"

class Win32TcpConnects final : public TcpConnects {
 public:
  Win32TcpConnects() = default;
  ~Win32TcpConnects() override;
  Win32TcpConnects(const Win32TcpConnects&) = delete;
  Win32TcpConnects& operator=(const Win32TcpConnects&) = delete;

  std::optional<TcpEndpoint> Resolve(const std::string& host, std::uint16_t port) override;
  bool Open(int slot, const TcpEndpoint& to) override;
  std::vector<ConnectEnded> Wait(int waitMs) override;
  void Abandon(int slot) override;
  std::int64_t NowMicros() override;

 private:
  std::map<int, std::uintptr_t> sockets_;  // slot -> SOCKET; used by the worker alone
};
