#pragma once
// The loopback HTTP listener on Windows Sockets. One background thread
// serves a few clients at once without ever blocking on one of them: every
// socket is non-blocking, and the connection policy (idle, TLS and half
// requests give way, to a newcomer too) decides when one is closed, so no
// local program or web page can hold up the PAC fetches of the others or
// the program's exit.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/loopback_server.h"

class Win32LoopbackServer final : public LoopbackServer {
 public:
  Win32LoopbackServer() = default;
  ~Win32LoopbackServer() override { Stop(); }
  Win32LoopbackServer(const Win32LoopbackServer&) = delete;
  Win32LoopbackServer& operator=(const Win32LoopbackServer&) = delete;

  int Listen(Handler handler) override;
  // Closes the listener and every open connection, whatever the clients
  // do, and waits for the thread (a tenth of a second at most); the handler
  // is not called any more once this returns.
  void Stop();

 private:
  void Serve();

  std::mutex mutex_;
  Handler handler_;
  std::uintptr_t listener_ = ~std::uintptr_t{0};  // INVALID_SOCKET
  int port_ = 0;
  bool winsockStarted_ = false;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};
