#include "platform/win32/downloader_win32.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdint>

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

// The Content-Length the answer announced, -1 when it names none (a chunked
// answer, or one that ends with its connection).
std::int64_t DeclaredLength(HINTERNET request) {
  char text[32] = {};
  DWORD size = sizeof text;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return -1;
  std::int64_t length = 0;
  for (const char* c = text; *c; ++c) {
    if (*c < '0' || *c > '9' || length > (INT64_MAX - 9) / 10) return -1;
    length = length * 10 + (*c - '0');
  }
  return size > 0 ? length : -1;
}

}  // namespace

DownloadAnswer Win32Downloader::Get(const std::string& url, std::size_t limit) {
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

  DownloadAnswer answer;
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
    return {};
  answer.status = static_cast<int>(status);

  // One byte past the limit tells a body that ends there from a longer one.
  char buffer[16384];
  DWORD got = 0;
  while (answer.body.size() <= limit) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, limit + 1 - answer.body.size()));
    if (!InternetReadFile(request.get(), buffer, wanted, &got)) {
      answer.readFailed = true;
      break;
    }
    if (got == 0) break;
    answer.body.append(buffer, got);
  }
  answer.declaredLength = DeclaredLength(request.get());
  if (answer.body.size() > limit) {
    answer.body.resize(limit);
    answer.cutOff = true;
  }
  return answer;
}
