// Windows Sockets must come before <windows.h>, which the header brings.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "driver/loopback_traffic.h"

namespace e2e {
namespace {

class Winsock {
 public:
  Winsock() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~Winsock() { WSACleanup(); }
};

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  return address;
}

// A connection to 127.0.0.1:port that gives up reading after ten seconds.
SOCKET ConnectLoopback(int port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  const DWORD timeout = 10000;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  const sockaddr_in address = Loopback(port);
  if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

bool SendAll(SOCKET s, const std::string& bytes) {
  for (std::size_t sent = 0; sent < bytes.size();) {
    const int n = send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

bool ReceiveExactly(SOCKET s, char* buffer, int size) {
  while (size > 0) {
    const int n = recv(s, buffer, size, 0);
    if (n <= 0) return false;
    buffer += n;
    size -= n;
  }
  return true;
}

std::string ReceiveAll(SOCKET s) {
  std::string received;
  char buffer[4096];
  for (int n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) received.append(buffer, static_cast<std::size_t>(n));
  return received;
}

// The body of a complete "HTTP/1.x 200" response; empty otherwise.
std::string BodyOf200(const std::string& response) {
  const std::size_t end = response.find("\r\n\r\n");
  if (response.compare(0, 9, "HTTP/1.1 ") != 0 && response.compare(0, 9, "HTTP/1.0 ") != 0) return {};
  if (response.compare(9, 3, "200") != 0 || end == std::string::npos) return {};
  return response.substr(end + 4);
}

std::string GetRequest(const std::string& target, int originPort) {
  return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(originPort) +
         "\r\nUser-Agent: corvane-e2e\r\nConnection: close\r\n\r\n";
}

}  // namespace

int FreeLoopbackPort() {
  static Winsock winsock;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = Loopback(0);
  int size = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  closesocket(s);
  return port;
}

OriginServer::OriginServer() {
  static Winsock winsock;
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = Loopback(0);
  int length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return;
  port_ = ntohs(address.sin_port);
  thread_ = CreateThread(nullptr, 0, &OriginServer::Serve, this, 0, nullptr);
}

OriginServer::~OriginServer() {
  closesocket(listener_);  // accept fails and the thread ends
  if (thread_) {
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
}

DWORD WINAPI OriginServer::Serve(void* self) {
  auto* server = static_cast<OriginServer*>(self);
  for (;;) {
    const SOCKET client = accept(server->listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return 0;
    server->AnswerOne(client);
  }
}

void OriginServer::AnswerOne(UINT_PTR client) {
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  // "GET <path> HTTP/1.1": the proxy must have turned an absolute address
  // into the path alone.
  const std::size_t space1 = head.find(' ');
  const std::size_t space2 = head.find(' ', space1 + 1);
  const std::string path = space1 == std::string::npos || space2 == std::string::npos
                               ? std::string("?")
                               : head.substr(space1 + 1, space2 - space1 - 1);
  ++requests_;
  const std::string body = BodyFor(path);
  SendAll(client, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
                      "\r\nConnection: close\r\n\r\n" + body);
  shutdown(client, SD_SEND);
  closesocket(client);
}

std::string FetchThroughHttpProxy(int proxyPort, int originPort, const std::string& path) {
  static Winsock winsock;
  const SOCKET s = ConnectLoopback(proxyPort);
  if (s == INVALID_SOCKET) return {};
  std::string response;
  if (SendAll(s, GetRequest("http://127.0.0.1:" + std::to_string(originPort) + path, originPort)))
    response = ReceiveAll(s);
  closesocket(s);
  return BodyOf200(response);
}

std::string FetchThroughSocks5(int proxyPort, int originPort, const std::string& path) {
  static Winsock winsock;
  const SOCKET s = ConnectLoopback(proxyPort);
  if (s == INVALID_SOCKET) return {};
  std::string response;
  char reply[10];
  const char greeting[] = {5, 1, 0};  // version 5, one method: none
  const char request[] = {5, 1, 0, 1, 127, 0, 0, 1, static_cast<char>(originPort >> 8), static_cast<char>(originPort)};
  if (SendAll(s, std::string(greeting, 3)) && ReceiveExactly(s, reply, 2) && reply[0] == 5 && reply[1] == 0 &&
      SendAll(s, std::string(request, sizeof request)) && ReceiveExactly(s, reply, 10) && reply[1] == 0 &&
      SendAll(s, GetRequest(path, originPort)))
    response = ReceiveAll(s);
  closesocket(s);
  return BodyOf200(response);
}

}  // namespace e2e
