#include "platform/win32/winhttp_transport_win32.h"

#include <windows.h>
#include <winhttp.h>

namespace {

constexpr UINT kGbk = 936;

// GBK text as UTF-16 (MultiByteToWideChar, code page 936, flags 0).
std::wstring TextToWide(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(kGbk, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(kGbk, 0, text.data(), length, wide.data(), needed);
  return wide;
}

// UTF-16 as GBK text, ending at the first NUL.
std::string WideToText(std::wstring_view wide) {
  wide = wide.substr(0, wide.find(L'\0'));
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int needed = WideCharToMultiByte(kGbk, WC_COMPOSITECHECK, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string text(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(kGbk, WC_COMPOSITECHECK, wide.data(), length, text.data(), needed, nullptr, nullptr);
  return text;
}

class WinHttpExchange final : public HttpExchange {
 public:
  WinHttpExchange() = default;
  WinHttpExchange(const WinHttpExchange&) = delete;
  WinHttpExchange& operator=(const WinHttpExchange&) = delete;
  ~WinHttpExchange() override {
    if (request_) WinHttpCloseHandle(request_);
    if (connection_) WinHttpCloseHandle(connection_);
    if (session_) WinHttpCloseHandle(session_);
  }

  bool Open(HttpAccess access, const std::string& proxyName) override {
    const std::wstring proxy = TextToWide(proxyName);
    session_ = WinHttpOpen(nullptr, static_cast<DWORD>(access),
                           access == HttpAccess::NamedProxy ? proxy.c_str() : WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, 0);
    return session_ != nullptr;
  }
  bool Connect(const std::string& host, int port) override {
    connection_ = WinHttpConnect(session_, TextToWide(host).c_str(), static_cast<INTERNET_PORT>(port), 0);
    return connection_ != nullptr;
  }
  bool OpenRequest(const std::string& verb, const std::string& objectName, bool secure) override {
    request_ = WinHttpOpenRequest(connection_, TextToWide(verb).c_str(), TextToWide(objectName).c_str(), nullptr,
                                  WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                  secure ? WINHTTP_FLAG_SECURE : 0);
    return request_ != nullptr;
  }
  bool SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) override {
    return WinHttpSetTimeouts(request_, resolveMs, connectMs, sendMs, receiveMs) != FALSE;
  }
  bool SetCredentials(HttpAuthTarget target, const std::string& user, const std::string& password) override {
    return WinHttpSetCredentials(request_, static_cast<DWORD>(target), WINHTTP_AUTH_SCHEME_BASIC,
                                 TextToWide(user).c_str(), TextToWide(password).c_str(), nullptr) != FALSE;
  }
  bool SetOption(std::uint32_t option, std::uint32_t value) override {
    DWORD v = value;
    return WinHttpSetOption(request_, option, &v, sizeof v) != FALSE;
  }
  bool AddRequestHeaders(const std::string& headers) override {
    const std::wstring wide = TextToWide(headers);
    return WinHttpAddRequestHeaders(request_, wide.c_str(), static_cast<DWORD>(wide.size()),
                                    WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE) != FALSE;
  }
  bool SendRequest(std::string_view body) override {
    const auto length = static_cast<DWORD>(body.size());
    void* data = body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data());
    return WinHttpSendRequest(request_, WINHTTP_NO_ADDITIONAL_HEADERS, 0, data, length, length, 0) != FALSE;
  }
  bool ReceiveResponse() override { return WinHttpReceiveResponse(request_, nullptr) != FALSE; }
  std::optional<std::uint32_t> QueryDataAvailable() override {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request_, &available)) return std::nullopt;
    return available;
  }
  std::optional<std::size_t> ReadData(char* buffer, std::size_t size) override {
    DWORD read = 0;
    if (!WinHttpReadData(request_, buffer, static_cast<DWORD>(size), &read)) return std::nullopt;
    return read;
  }
  std::optional<std::string> RawHeaders() override {
    DWORD bytes = 0;
    WinHttpQueryHeaders(request_, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &bytes,
                        WINHTTP_NO_HEADER_INDEX);
    std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!WinHttpQueryHeaders(request_, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, buffer.data(),
                             &size, WINHTTP_NO_HEADER_INDEX))
      return std::nullopt;
    return WideToText(buffer);
  }

 private:
  HINTERNET session_ = nullptr;
  HINTERNET connection_ = nullptr;
  HINTERNET request_ = nullptr;
};

std::string Part(const wchar_t* start, DWORD length) {
  return start && length ? WideToText(std::wstring_view(start, length)) : std::string();
}

}  // namespace

bool Win32HttpTransport::PlatformSupported() { return WinHttpCheckPlatform() != FALSE; }

std::optional<CrackedUrl> Win32HttpTransport::CrackUrl(const std::string& url) {
  const std::wstring wide = TextToWide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength =
      static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wide.c_str(), 0, 0, &parts)) return std::nullopt;

  CrackedUrl cracked;
  cracked.host = Part(parts.lpszHostName, parts.dwHostNameLength);
  cracked.port = parts.nPort;
  cracked.path = Part(parts.lpszUrlPath, parts.dwUrlPathLength);
  cracked.extraInfo = Part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  cracked.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return cracked;
}

std::unique_ptr<HttpExchange> Win32HttpTransport::NewExchange() { return std::make_unique<WinHttpExchange>(); }
