#include "platform/win32/loopback_server_win32.h"

#include <algorithm>
#include <string>
#include <vector>

#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/loopback_connection_policy.h"

namespace {

// A request head larger than this is not a PAC request.
constexpr std::size_t kMaxHeadBytes = 16384;
// How often the thread looks at the clock and at Stop.
constexpr long kTickMs = 100;

SOCKET AsSocket(std::uintptr_t value) { return static_cast<SOCKET>(value); }

struct Client {
  SOCKET socket = INVALID_SOCKET;
  loopback::Connection state;
  std::string head;
  std::string answer;
  std::size_t sent = 0;
  bool done = false;
};

bool HeadComplete(const std::string& head) {
  return head.find("\r\n\r\n") != std::string::npos || head.find("\n\n") != std::string::npos;
}

void Receive(Client& client, const LoopbackServer::Handler& handler) {
  char buffer[2048];
  const int got = recv(client.socket, buffer, sizeof buffer, 0);
  if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return;
  if (got > 0 && client.head.empty() && !loopback::CanStartHttpMethod(static_cast<unsigned char>(buffer[0]))) {
    client.done = true;  // a TLS hello or other noise: no HTTP request follows
    return;
  }
  if (got > 0) {
    client.head.append(buffer, static_cast<std::size_t>(got));
    client.state.sentAny = true;
  }
  const bool peerStopped = got <= 0;
  if (!peerStopped && !HeadComplete(client.head) && client.head.size() < kMaxHeadBytes) return;
  if (client.head.empty()) {
    client.done = true;
    return;
  }
  try {
    client.answer = handler(client.head);
  } catch (...) {
    client.done = true;
    return;
  }
  client.state.answering = true;
  client.state.since = GetTickCount();
}

void Send(Client& client) {
  while (client.sent < client.answer.size()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(client.answer.size() - client.sent, 1 << 16));
    const int done = send(client.socket, client.answer.data() + client.sent, chunk, 0);
    if (done == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return;
    if (done <= 0) {
      client.done = true;
      return;
    }
    client.sent += static_cast<std::size_t>(done);
  }
  // Everything is handed over before the close, so the client reads it all.
  shutdown(client.socket, SD_SEND);
  client.done = true;
}

// Reads what came and sends what it can; closes a connection that is
// finished or out of time.
void ServeClient(Client& client, const LoopbackServer::Handler& handler, bool readable) {
  if (!client.state.answering && readable) Receive(client, handler);
  // A fresh answer goes out at once; a stalled one when the socket can take more.
  if (client.state.answering && !client.done) Send(client);
  if (!client.done && loopback::OutOfTime(client.state, GetTickCount())) client.done = true;
  if (client.done) closesocket(client.socket);
}

// With every slot taken, the oldest connection still without a whole
// request is closed for the newcomer; false when none can give way.
bool MakeRoom(std::vector<Client>& clients) {
  if (clients.size() < loopback::kMaxConnections) return true;
  std::vector<loopback::Connection> open;
  for (const Client& client : clients) open.push_back(client.state);
  const std::size_t evicted = loopback::ConnectionToEvict(open);
  if (evicted == clients.size()) return false;
  closesocket(clients[evicted].socket);
  clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(evicted));
  return true;
}

void MakeNonBlocking(SOCKET socket) {
  u_long on = 1;
  ioctlsocket(socket, FIONBIO, &on);
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
  MakeNonBlocking(listener);

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
  }
  // The thread sees the flag within a tick and closes every socket.
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(mutex_);
  if (AsSocket(listener_) != INVALID_SOCKET) closesocket(AsSocket(listener_));
  listener_ = static_cast<std::uintptr_t>(INVALID_SOCKET);
  if (winsockStarted_) WSACleanup();
  winsockStarted_ = false;
}

void Win32LoopbackServer::Serve() {
  const SOCKET listener = AsSocket(listener_);
  std::vector<Client> clients;
  try {
    clients.reserve(loopback::kMaxConnections);
    while (!stopping_) {
      fd_set readable, writable;
      FD_ZERO(&readable);
      FD_ZERO(&writable);
      FD_SET(listener, &readable);
      for (const Client& client : clients) FD_SET(client.socket, client.state.answering ? &writable : &readable);
      timeval tick{0, kTickMs * 1000};
      if (select(0, &readable, &writable, nullptr, &tick) == SOCKET_ERROR) {
        Sleep(kTickMs);  // out of resources for a moment; try again
        continue;
      }

      for (Client& client : clients) ServeClient(client, handler_, FD_ISSET(client.socket, &readable));
      std::erase_if(clients, [](const Client& client) { return client.done; });

      if (FD_ISSET(listener, &readable)) {
        const SOCKET accepted = accept(listener, nullptr, nullptr);
        if (accepted != INVALID_SOCKET && !MakeRoom(clients)) {
          closesocket(accepted);  // every slot is answering: turned away at once
        } else if (accepted != INVALID_SOCKET) {
          MakeNonBlocking(accepted);
          Client client;
          client.socket = accepted;
          client.state.since = GetTickCount();
          clients.push_back(std::move(client));
          // A client usually sends its request with the connection: read
          // it now, before another newcomer could take the slot.
          ServeClient(clients.back(), handler_, true);
        }
      }
      std::erase_if(clients, [](const Client& client) { return client.done; });
    }
  } catch (...) {
    // Out of memory: no client is served any more, and none is left open.
  }
  for (const Client& client : clients)
    if (!client.done) closesocket(client.socket);
}
