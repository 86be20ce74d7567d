// The SOCKS5 side of the stand-in (RFC 1928): no authentication, CONNECT to
// an IPv4 address, a domain name or an IPv6 address.
#include <ws2tcpip.h>

#include <cstdint>
#include <string>

#include "proxies.h"
#include "socket_io.h"

namespace {

constexpr unsigned char kVersion = 5;
constexpr unsigned char kNoAuthentication = 0, kNoAcceptableMethod = 0xFF;
constexpr unsigned char kConnect = 1;
constexpr unsigned char kIPv4 = 1, kDomainName = 3, kIPv6 = 4;
constexpr unsigned char kSucceeded = 0, kHostUnreachable = 4, kCommandNotSupported = 7, kAddressNotSupported = 8;

void Reply(SOCKET client, unsigned char status) {
  // The bound address is not told: 0.0.0.0:0.
  const unsigned char reply[] = {kVersion, status, 0, kIPv4, 0, 0, 0, 0, 0, 0};
  SendAll(client, std::string_view(reinterpret_cast<const char*>(reply), sizeof reply));
}

bool AgreeOnNoAuthentication(SOCKET client) {
  unsigned char greeting[2];
  if (!ReceiveExactly(client, greeting, 2) || greeting[0] != kVersion) return false;
  unsigned char methods[255];
  if (!ReceiveExactly(client, methods, greeting[1])) return false;
  bool offered = false;
  for (int i = 0; i < greeting[1]; ++i) offered = offered || methods[i] == kNoAuthentication;
  const unsigned char choice[] = {kVersion, offered ? kNoAuthentication : kNoAcceptableMethod};
  SendAll(client, std::string_view(reinterpret_cast<const char*>(choice), 2));
  return offered;
}

// The destination host as text; false with the reply status on failure.
bool ReadDestination(SOCKET client, unsigned char type, std::string& host, unsigned char& failure) {
  char text[INET6_ADDRSTRLEN] = {};
  switch (type) {
    case kIPv4: {
      in_addr address;
      if (!ReceiveExactly(client, &address, sizeof address)) return false;
      inet_ntop(AF_INET, &address, text, sizeof text);
      host = text;
      return true;
    }
    case kIPv6: {
      in6_addr address;
      if (!ReceiveExactly(client, &address, sizeof address)) return false;
      inet_ntop(AF_INET6, &address, text, sizeof text);
      host = text;
      return true;
    }
    case kDomainName: {
      unsigned char length = 0;
      if (!ReceiveExactly(client, &length, 1)) return false;
      host.resize(length);
      return ReceiveExactly(client, host.data(), length);
    }
    default:
      failure = kAddressNotSupported;
      return false;
  }
}

}  // namespace

void ServeSocks5Client(SOCKET client) {
  if (!AgreeOnNoAuthentication(client)) return;
  unsigned char request[4];  // version, command, reserved, address type
  if (!ReceiveExactly(client, request, 4) || request[0] != kVersion) return;
  std::string host;
  unsigned char failure = 0;
  if (!ReadDestination(client, request[3], host, failure)) {
    if (failure) Reply(client, failure);
    return;
  }
  unsigned char portBytes[2];
  if (!ReceiveExactly(client, portBytes, 2)) return;
  if (request[1] != kConnect) return Reply(client, kCommandNotSupported);

  const std::string port = std::to_string(portBytes[0] << 8 | portBytes[1]);
  Socket server = ConnectTo(host, port);
  if (!server.Valid()) return Reply(client, kHostUnreachable);
  Reply(client, kSucceeded);
  Relay(client, server.Get());
}
