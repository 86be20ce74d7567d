#pragma once
// Which local listener the system proxy may be pointed at. Windows' proxy
// settings speak HTTP to a proxy server: a global proxy on a SOCKS5
// listener leaves every browser offline, and a PAC entry must name the
// protocol the listener really speaks.
#include <string_view>

#include "context/app_context.h"

// The running engine's listener; while nothing runs, the one the next start
// opens (the Run mode).
inline std::string_view ActiveListener(const AppContext& app) {
  return IsRunning(app.form) ? std::string_view(app.run.listener) : std::string_view(app.run.runMode);
}

// Global mode needs an HTTP listener now and at the next start: the Run
// mode switched to SOCKS5 withdraws it at once, the switch back to HTTP
// offers it only once a SOCKS5 engine has stopped.
inline bool GlobalModeAvailable(const AppContext& app) {
  return app.run.runMode == "HTTP" && ActiveListener(app) == "HTTP";
}
