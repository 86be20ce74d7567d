#pragma once
// The local PAC server's answers. Windows' proxy service (WinHTTP) and the
// browsers that follow it no longer accept file:// PAC addresses, so the
// generated PAC file is handed out over HTTP on the loopback interface.
// The script tells whoever reads it that a proxy runs here and where, so
// it goes only to a request that names the server as 127.0.0.1 or
// localhost with its port (a web page reaching it through a rebound DNS
// name does not) and knows the address's secret token.
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

struct PacServing {
  std::string token;  // the secret path segment; "" serves nothing
  int port = 0;       // the server's own port
};

// The whole response to one request head. GET /<token>/pac (any query),
// with a Host of 127.0.0.1:<port> or localhost:<port>, gives the PAC file's
// current bytes as application/x-ns-proxy-autoconfig with their charset.
// Any other Host (or none, or two) gets 403; any other method 405; any
// other path, no PAC file or one without FindProxyForURL, 404; a request line that is not HTTP 400. No answer may be cached
// or read as another type than it says. `readPac` is called only for the
// served address.
std::string PacHttpResponse(std::string_view request, const PacServing& serving,
                            const std::function<FileContent()>& readPac);
