#pragma once
// The local PAC server's answers. Windows' proxy service (WinHTTP) and the
// browsers that follow it no longer accept file:// PAC addresses, so the
// generated PAC file is handed out over HTTP on the loopback interface.
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

// The whole response to one request head. GET /pac (any query) gives the
// PAC file's current bytes as application/x-ns-proxy-autoconfig, never to
// be cached; 404 while there is no PAC file or for any other path; 405 for
// any other method; 400 for a request line that is not HTTP. `readPac` is
// called only for a GET of /pac.
std::string PacHttpResponse(std::string_view request, const std::function<FileContent()>& readPac);
