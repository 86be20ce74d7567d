#pragma once
// A small HTTP server inside the driver, on 127.0.0.1 at a port the system
// picks: it stands in for the maker's version server and PAC host. Each
// path answers with its fixed body (200) or 404; every requested path is
// recorded.
#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

class LocalHttpServer {
 public:
  explicit LocalHttpServer(std::map<std::string, std::string> bodies = {});
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // Adds or replaces the answer for `path`.
  void SetBody(const std::string& path, std::string body);
  // Answers `path` with this status line ("404 Not Found") and body.
  void SetAnswer(const std::string& path, std::string status, std::string body);
  // Answers `path` with 200 and bytes for as long as the client reads them.
  void SetEndless(const std::string& path);
  // Answers `path` with 200 and the Content-Length of `body`, but closes the
  // connection after its first `sent` bytes, as a dropped connection would.
  void SetCutShort(const std::string& path, std::string body, std::size_t sent);
  // "http://127.0.0.1:<port>"; empty when it could not listen.
  std::string Base() const;
  std::vector<std::string> RequestedPaths() const;

 private:
  struct Reply {
    std::string status = "200 OK";
    std::string body;
    bool endless = false;
    std::size_t sent = std::string::npos;  // bytes of the body that go out
  };
  void Serve();
  void ServeConnection(UINT_PTR connection);

  std::map<std::string, Reply> answers_;
  std::vector<std::thread> connections_;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requested_;
  UINT_PTR listener_;
  int port_ = 0;
  std::thread thread_;
};

// A plain GET through Windows Sockets: status line and body of the answer,
// as the program's own PAC server gives them.
struct HttpAnswer {
  std::string statusLine;
  std::string headers;
  std::string body;
};
HttpAnswer HttpGet(const std::string& url, const std::string& method = "GET");
// The answer to a request sent as given to 127.0.0.1:<port>.
HttpAnswer HttpExchange(int port, const std::string& request);

// A client socket connected to 127.0.0.1:<port>, with a receive buffer of
// `receiveBuffer` bytes when given; INVALID_SOCKET when it cannot connect.
UINT_PTR ConnectLoopback(int port, int receiveBuffer = 0);
bool SendBytes(UINT_PTR connection, const std::string& bytes);
void CloseConnection(UINT_PTR connection);
// Reads and drops what comes until the other side closes the connection.
void WaitUntilClosed(UINT_PTR connection);

}  // namespace e2e
