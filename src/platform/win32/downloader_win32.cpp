#include "platform/win32/downloader_win32.h"

#include <windows.h>
#include <wininet.h>

#include "platform/win32/internet_handle_win32.h"

namespace {

// A server that accepts the connection and then says nothing must not keep
// a worker (and the program's exit) waiting for minutes.
constexpr DWORD kTimeoutMs = 15000;

struct UrlParts {
  std::string host;
  std::string pathAndQuery;
  INTERNET_PORT port = 0;
  bool secure = false;
};

bool SplitUrl(const std::string& url, UrlParts& parts) {
  char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  char path[INTERNET_MAX_PATH_LENGTH + 1] = {};
  char extra[INTERNET_MAX_PATH_LENGTH + 1] = {};
  URL_COMPONENTSA components{};
  components.dwStructSize = sizeof components;
  components.lpszHostName = host;
  components.dwHostNameLength = sizeof host;
  components.lpszUrlPath = path;
  components.dwUrlPathLength = sizeof path;
  components.lpszExtraInfo = extra;
  components.dwExtraInfoLength = sizeof extra;
  if (!InternetCrackUrlA(url.c_str(), 0, 0, &components)) return false;
  if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS) return false;
  parts.host = host;
  parts.pathAndQuery.assign(path).append(extra);
  if (parts.pathAndQuery.empty()) parts.pathAndQuery.push_back('/');
  parts.port = components.nPort;
  parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  return true;
}

void LimitWaiting(HINTERNET session) {
  DWORD timeout = kTimeoutMs;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionA(session, option, &timeout, sizeof timeout);
}

}  // namespace

std::string Win32Downloader::Download(const std::string& url) {
  UrlParts parts;
  if (!SplitUrl(url, parts)) return {};

  InternetHandle session(InternetOpenA("Corvane", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return {};
  LimitWaiting(session.get());
  InternetHandle connection(InternetConnectA(session.get(), parts.host.c_str(), parts.port, nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return {};

  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
  if (parts.secure) flags |= INTERNET_FLAG_SECURE;
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", parts.pathAndQuery.c_str(), nullptr, nullptr,
                                          nullptr, flags, 0));
  if (!request || !HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return {};

  // Whatever the status, the body is the answer.
  std::string body;
  char buffer[16384];
  DWORD got = 0;
  while (InternetReadFile(request.get(), buffer, sizeof buffer, &got) && got > 0) body.append(buffer, got);
  return body;
}
