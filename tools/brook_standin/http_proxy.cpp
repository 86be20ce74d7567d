// The HTTP side of the stand-in: each client connection carries one
// request. A plain request is sent on to its server in origin form with
// "Connection: close", so the exchange ends when the server's answer does.
#include <string>
#include <string_view>

#include "proxies.h"
#include "socket_io.h"

namespace {

constexpr std::size_t kMaxHead = 64 * 1024;

// The request head up to and including its empty line; `rest` gets what
// came after it. False when the client closed first or the head is too long.
bool ReadHead(SOCKET client, std::string& head, std::string& rest) {
  std::string received;
  char buffer[4096];
  for (;;) {
    const std::size_t end = received.find("\r\n\r\n");
    if (end != std::string::npos) {
      head = received.substr(0, end + 4);
      rest = received.substr(end + 4);
      return true;
    }
    if (received.size() > kMaxHead) return false;
    const int got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    received.append(buffer, static_cast<std::size_t>(got));
  }
}

void Answer(SOCKET client, std::string_view status) {
  SendAll(client, "HTTP/1.1 " + std::string(status) + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
}

// "host:port", "[v6]:port" or a bare host with `defaultPort`.
void SplitAuthority(std::string_view authority, std::string_view defaultPort, std::string& host, std::string& port) {
  const std::size_t bracket = authority.rfind(']');
  const std::size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  } else {
    host = authority;
    port = defaultPort;
  }
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char a = text[i], b = prefix[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// The header lines without the hop-by-hop ones this proxy decides itself.
std::string ForwardedHeaders(std::string_view lines) {
  std::string kept;
  while (!lines.empty()) {
    const std::size_t end = lines.find("\r\n");
    const std::string_view line = lines.substr(0, end);
    lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 2);
    if (line.empty() || StartsWithNoCase(line, "proxy-connection:") || StartsWithNoCase(line, "connection:") ||
        StartsWithNoCase(line, "keep-alive:"))
      continue;
    kept.append(line);
    kept += "\r\n";
  }
  return kept;
}

}  // namespace

void ServeHttpProxyClient(SOCKET client) {
  std::string head, rest;
  if (!ReadHead(client, head, rest)) return;
  const std::size_t lineEnd = head.find("\r\n");
  const std::string_view requestLine = std::string_view(head).substr(0, lineEnd);
  const std::size_t space1 = requestLine.find(' ');
  const std::size_t space2 = requestLine.rfind(' ');
  if (space1 == std::string_view::npos || space2 == space1) return Answer(client, "400 Bad Request");
  const std::string_view method = requestLine.substr(0, space1);
  const std::string_view target = requestLine.substr(space1 + 1, space2 - space1 - 1);
  const std::string_view version = requestLine.substr(space2 + 1);

  std::string host, port;
  if (method == "CONNECT") {
    SplitAuthority(target, "443", host, port);
    Socket server = ConnectTo(host, port);
    if (!server.Valid()) return Answer(client, "502 Bad Gateway");
    if (!SendAll(client, "HTTP/1.1 200 Connection established\r\n\r\n")) return;
    if (!rest.empty() && !SendAll(server.Get(), rest)) return;
    return Relay(client, server.Get());
  }

  constexpr std::string_view scheme = "http://";
  if (!StartsWithNoCase(target, scheme)) return Answer(client, "400 Bad Request");
  const std::string_view afterScheme = target.substr(scheme.size());
  const std::size_t slash = afterScheme.find('/');
  SplitAuthority(afterScheme.substr(0, slash), "80", host, port);
  const std::string_view path = slash == std::string_view::npos ? "/" : afterScheme.substr(slash);
  Socket server = ConnectTo(host, port);
  if (!server.Valid()) return Answer(client, "502 Bad Gateway");

  const std::string request = std::string(method) + " " + std::string(path) + " " + std::string(version) + "\r\n" +
                              ForwardedHeaders(std::string_view(head).substr(lineEnd + 2)) +
                              "Connection: close\r\n\r\n" + rest;
  if (!SendAll(server.Get(), request)) return;
  Relay(client, server.Get());
}
