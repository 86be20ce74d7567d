#pragma once
// The user's proxy settings as the system's two HTTP stacks see them: the
// LAN connection in WinINet's per-connection store, and WinHTTP's view,
// which current Windows and the browsers that follow it use. (wininet.h
// and winhttp.h cannot share a source file.)
#include <windows.h>

#include <string>

namespace e2e {

struct ConnectionView {
  DWORD flags = 0;  // PROXY_TYPE_* (WinINet only)
  std::string proxy, bypass, autoConfigUrl;
};

// INTERNET_PER_CONN_FLAGS_UI, proxy server, bypass list, automatic
// configuration address of the LAN connection.
ConnectionView PerConnectionView();
// WinHttpGetIEProxyConfigForCurrentUser.
ConnectionView WinHttpView();
// WinHttpGetProxyForUrl on `url` with the script at `pacAddress`.
std::string WinHttpProxyFor(const std::string& pacAddress, const std::string& url);

}  // namespace e2e
