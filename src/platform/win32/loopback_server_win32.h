#pragma once
// The loopback HTTP listener on Windows Sockets: one background thread
// accepts connections on 127.0.0.1 and answers them one after another.
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
  // Closes the listener and waits for the thread; the handler is not called
  // any more once this returns.
  void Stop();

 private:
  void Serve();
  void Answer(std::uintptr_t connection);

  std::mutex mutex_;
  Handler handler_;
  std::uintptr_t listener_ = ~std::uintptr_t{0};  // INVALID_SOCKET
  int port_ = 0;
  bool winsockStarted_ = false;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};
