#pragma once
// A very small HTTP listener on 127.0.0.1, reachable from this machine only.
#include <functional>
#include <string>
#include <string_view>

class LoopbackServer {
 public:
  // Gets the head of one request (request line and header lines) and
  // returns the whole response. Runs on the server's own thread.
  using Handler = std::function<std::string(std::string_view request)>;

  virtual ~LoopbackServer() = default;
  // The first call starts listening at a free port the system picks and
  // keeps `handler` for every request from then on; later calls return the
  // same port and ignore their handler. 0 when it cannot listen.
  virtual int Listen(Handler handler) = 0;
};
