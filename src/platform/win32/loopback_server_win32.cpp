#include "platform/win32/loopback_server_win32.h"

#include <algorithm>
#include <string>

#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

// A request head larger than this is not a PAC request.
constexpr std::size_t kMaxHeadBytes = 16384;
// A client that connects and says nothing holds up the others this long.
constexpr DWORD kReceiveTimeoutMs = 3000;

SOCKET AsSocket(std::uintptr_t value) { return static_cast<SOCKET>(value); }

// Reads until the blank line that ends the head, or until the peer stops.
std::string ReadHead(SOCKET connection) {
  std::string head;
  char buffer[2048];
  while (head.size() < kMaxHeadBytes && head.find("\r\n\r\n") == std::string::npos &&
         head.find("\n\n") == std::string::npos) {
    const int got = recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    head.append(buffer, static_cast<std::size_t>(got));
  }
  return head;
}

void SendAll(SOCKET connection, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size() - sent, 1 << 20));
    const int done = send(connection, bytes.data() + sent, chunk, 0);
    if (done <= 0) return;
    sent += static_cast<std::size_t>(done);
  }
}

}  // namespace

int Win32LoopbackServer::Listen(Handler handler) {
  std::lock_guard lock(mutex_);
  if (port_ > 0 || stopping_) return port_;

  if (!winsockStarted_) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
    winsockStarted_ = true;
  }
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return 0;
  // No other program may take over the port while this one holds it.
  BOOL exclusive = TRUE;
  setsockopt(listener, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;  // the system picks a free port
  int length = sizeof address;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, SOMAXCONN) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(listener);
    return 0;
  }

  handler_ = std::move(handler);
  listener_ = static_cast<std::uintptr_t>(listener);
  try {
    thread_ = std::thread([this] { Serve(); });
  } catch (...) {
    closesocket(listener);
    listener_ = static_cast<std::uintptr_t>(INVALID_SOCKET);
    return 0;
  }
  port_ = ntohs(address.sin_port);
  return port_;
}

void Win32LoopbackServer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    // Closing the listener ends the accept the thread is waiting in.
    if (AsSocket(listener_) != INVALID_SOCKET) closesocket(AsSocket(listener_));
    listener_ = static_cast<std::uintptr_t>(INVALID_SOCKET);
  }
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(mutex_);
  if (winsockStarted_) WSACleanup();
  winsockStarted_ = false;
}

void Win32LoopbackServer::Serve() {
  SOCKET listener;
  {
    std::lock_guard lock(mutex_);
    listener = AsSocket(listener_);
  }
  while (!stopping_) {
    SOCKET connection = accept(listener, nullptr, nullptr);
    if (connection == INVALID_SOCKET) {
      if (stopping_) break;
      Sleep(50);  // out of resources for a moment; try again
      continue;
    }
    Answer(static_cast<std::uintptr_t>(connection));
    closesocket(connection);
  }
}

void Win32LoopbackServer::Answer(std::uintptr_t value) {
  SOCKET connection = AsSocket(value);
  DWORD timeout = kReceiveTimeoutMs;
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  const std::string head = ReadHead(connection);
  if (head.empty()) return;
  SendAll(connection, handler_(head));
  // Everything is sent before the close, so the client reads it all.
  shutdown(connection, SD_SEND);
}
