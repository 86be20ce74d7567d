#pragma once
// One accepted client connection, served to its end.
#include <winsock2.h>

// An HTTP proxy: absolute-form requests ("GET http://host/path HTTP/1.1")
// and CONNECT tunnels.
void ServeHttpProxyClient(SOCKET client);
// A SOCKS5 proxy: no authentication, the CONNECT command.
void ServeSocks5Client(SOCKET client);
