#pragma once
// Which proxy values are this program's own: what it writes, recognised
// again after a crash, when nothing else tells whose they are.
#include <cstdint>
#include <string>
#include <string_view>

// ProxyEnable 1 with ProxyServer "127.0.0.1:" + the local port.
bool IsOwnProxyServer(std::uint32_t proxyEnable, std::string_view server, std::string_view localPort);

// An AutoConfigURL of a form the program writes for its PAC file: the local
// PAC server's "http://127.0.0.1:<port>/<token>/pac?t=<n>", or the older
// "http://127.0.0.1:<port>/pac?t=<n>" (any port: the system picked it for
// that run), or "file://" + the engine directory + "pac".
bool IsOwnPacAddress(std::string_view url, std::string_view engineDirectory);
