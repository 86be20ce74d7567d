#include <winsock2.h>
#include <ws2tcpip.h>

#include "driver/local_http_server.h"

namespace e2e {
namespace {

class WinsockUser {
 public:
  WinsockUser() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUser() { WSACleanup(); }
};

void Use() { static WinsockUser winsock; }

std::string ReceiveAll(SOCKET s, bool untilBlankLine) {
  std::string received;
  char buffer[65536];
  while (!untilBlankLine || received.find("\r\n\r\n") == std::string::npos) {
    const int got = recv(s, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    received.append(buffer, static_cast<std::size_t>(got));
  }
  return received;
}

void SendAll(SOCKET s, const std::string& bytes) {
  for (std::size_t sent = 0; sent < bytes.size();) {
    const int done = send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (done <= 0) return;
    sent += static_cast<std::size_t>(done);
  }
}

}  // namespace

LocalHttpServer::LocalHttpServer(std::map<std::string, std::string> bodies) : listener_(INVALID_SOCKET) {
  for (auto& [path, body] : bodies) answers_[path].body = std::move(body);
  Use();
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, SOMAXCONN) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener != INVALID_SOCKET) closesocket(listener);
    return;
  }
  listener_ = listener;
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stopping_ = true;
  if (listener_ != INVALID_SOCKET) closesocket(static_cast<SOCKET>(listener_));
  if (thread_.joinable()) thread_.join();
  for (std::thread& connection : connections_) connection.join();
}

std::string LocalHttpServer::Base() const {
  return port_ ? "http://127.0.0.1:" + std::to_string(port_) : std::string();
}

void LocalHttpServer::SetBody(const std::string& path, std::string body) { SetAnswer(path, "200 OK", std::move(body)); }

void LocalHttpServer::SetAnswer(const std::string& path, std::string status, std::string body) {
  std::lock_guard lock(mutex_);
  answers_[path] = {std::move(status), std::move(body), false};
}

void LocalHttpServer::SetEndless(const std::string& path) {
  std::lock_guard lock(mutex_);
  answers_[path] = {"200 OK", {}, true};
}

void LocalHttpServer::SetCutShort(const std::string& path, std::string body, std::size_t sent) {
  std::lock_guard lock(mutex_);
  answers_[path] = {"200 OK", std::move(body), false, sent};
}

std::vector<std::string> LocalHttpServer::RequestedPaths() const {
  std::lock_guard lock(mutex_);
  return requested_;
}

void LocalHttpServer::Serve() {
  for (;;) {
    SOCKET connection = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (connection == INVALID_SOCKET) return;  // the listener was closed
    connections_.emplace_back([this, connection] { ServeConnection(connection); });
  }
}

void LocalHttpServer::ServeConnection(UINT_PTR socket) {
  const SOCKET connection = static_cast<SOCKET>(socket);
  const std::string request = ReceiveAll(connection, true);
  const std::size_t pathStart = request.find(' ') + 1;
  const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
  Reply answer{"404 Not Found", {}, false};
  {
    std::lock_guard lock(mutex_);
    requested_.push_back(path);
    if (auto found = answers_.find(path); found != answers_.end()) answer = found->second;
  }
  if (answer.endless) {
    // No length and no end: the client decides when it has had enough.
    SendAll(connection, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
    const std::string piece(64 * 1024, 'x');
    // A client that stops reading without closing must not keep the
    // server's end waiting for ever.
    const DWORD stalled = 10000;
    setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&stalled), sizeof stalled);
    while (!stopping_ && send(connection, piece.data(), static_cast<int>(piece.size()), 0) > 0) {
    }
  } else {
    SendAll(connection, "HTTP/1.1 " + answer.status + "\r\nContent-Length: " + std::to_string(answer.body.size()) +
                            "\r\nConnection: close\r\n\r\n" + answer.body.substr(0, answer.sent));
    shutdown(connection, SD_SEND);
  }
  closesocket(connection);
}

UINT_PTR ConnectLoopback(int port, int receiveBuffer) {
  Use();
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return INVALID_SOCKET;
  if (receiveBuffer > 0)
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer), sizeof receiveBuffer);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

bool SendBytes(UINT_PTR s, const std::string& bytes) {
  return send(static_cast<SOCKET>(s), bytes.data(), static_cast<int>(bytes.size()), 0) == static_cast<int>(bytes.size());
}

void CloseConnection(UINT_PTR s) {
  if (s != INVALID_SOCKET) closesocket(static_cast<SOCKET>(s));
}

void WaitUntilClosed(UINT_PTR s) {
  char sink[256];
  while (s != INVALID_SOCKET && recv(static_cast<SOCKET>(s), sink, sizeof sink, 0) > 0) {
  }
}

HttpAnswer HttpExchange(int port, const std::string& request) {
  const SOCKET s = static_cast<SOCKET>(ConnectLoopback(port));
  HttpAnswer answer;
  if (s == INVALID_SOCKET) return answer;
  SendAll(s, request);
  const std::string response = ReceiveAll(s, false);
  const std::size_t lineEnd = response.find("\r\n");
  const std::size_t headEnd = response.find("\r\n\r\n");
  if (lineEnd != std::string::npos && headEnd != std::string::npos) {
    answer.statusLine = response.substr(0, lineEnd);
    answer.headers = response.substr(lineEnd + 2, headEnd - lineEnd - 2);
    answer.body = response.substr(headEnd + 4);
  }
  closesocket(s);
  return answer;
}

HttpAnswer HttpGet(const std::string& url, const std::string& method) {
  // Only what the program hands out: http://127.0.0.1:<port><target>.
  const std::string prefix = "http://127.0.0.1:";
  if (url.compare(0, prefix.size(), prefix) != 0) return {};
  const std::size_t slash = url.find('/', prefix.size());
  const int port = std::stoi(url.substr(prefix.size(), slash - prefix.size()));
  const std::string target = slash == std::string::npos ? "/" : url.substr(slash);
  return HttpExchange(port, method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n");
}

}  // namespace e2e
