#pragma once
// Traffic through the engine's local proxy: a small origin server on the
// loopback interface that answers every request with a body naming its path,
// and clients that fetch from it through an HTTP or a SOCKS5 proxy, as a
// browser or curl would.
#include <windows.h>

#include <atomic>
#include <string>

namespace e2e {

class OriginServer {
 public:
  OriginServer();  // listens on 127.0.0.1 at a port the system picks
  ~OriginServer();
  OriginServer(const OriginServer&) = delete;
  OriginServer& operator=(const OriginServer&) = delete;

  int Port() const { return port_; }
  // The body it answers a request for `path` with.
  static std::string BodyFor(const std::string& path) { return "origin says hello to " + path; }
  int Requests() const { return requests_; }

 private:
  static DWORD WINAPI Serve(void* self);
  void AnswerOne(UINT_PTR client);

  UINT_PTR listener_;
  int port_ = 0;
  HANDLE thread_ = nullptr;
  std::atomic<int> requests_{0};
};

// A loopback port no one listens on now, picked by the system, so that runs
// side by side (other Wine prefixes on the same machine) never share one.
int FreeLoopbackPort();

// The body of GET http://127.0.0.1:<originPort><path> through the HTTP proxy
// at 127.0.0.1:<proxyPort>; empty when the answer is not 200 or nothing came.
std::string FetchThroughHttpProxy(int proxyPort, int originPort, const std::string& path);
// The same through a SOCKS5 proxy (no authentication, CONNECT).
std::string FetchThroughSocks5(int proxyPort, int originPort, const std::string& path);

}  // namespace e2e
