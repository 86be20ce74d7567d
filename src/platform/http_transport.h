#pragma once
// WinHTTP, step by step, as the HTTP client drives it. Texts cross this
// interface as GBK; the Win32 side converts them to UTF-16 with code page
// 936 and back. Each step reports whether WinHTTP accepted it, so the
// client can name the step that failed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct CrackedUrl {
  std::string host;
  int port = 0;           // the scheme's default when the URL names none
  std::string path;       // may be empty
  std::string extraInfo;  // the query, with its "?"
  bool secure = false;    // https
};

enum class HttpAccess : std::uint32_t { NoProxy = 1, NamedProxy = 3 };
enum class HttpAuthTarget : std::uint32_t { Server = 0, Proxy = 1 };

// WinHttpSetOption values the client uses.
namespace HttpOption {
constexpr std::uint32_t DisableFeature = 63;
constexpr std::uint32_t EnableFeature = 79;
constexpr std::uint32_t DisableCookies = 1;
constexpr std::uint32_t DisableRedirects = 2;
}  // namespace HttpOption

// One request's session, connection and request handles. Destroying it
// closes the handles it opened, the request first and the session last.
class HttpExchange {
 public:
  virtual ~HttpExchange() = default;
  // WinHttpOpen without a user agent; the proxy name only for NamedProxy.
  virtual bool Open(HttpAccess access, const std::string& proxyName) = 0;
  virtual bool Connect(const std::string& host, int port) = 0;
  virtual bool OpenRequest(const std::string& verb, const std::string& objectName, bool secure) = 0;
  virtual bool SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) = 0;
  // Basic credentials.
  virtual bool SetCredentials(HttpAuthTarget target, const std::string& user,
                              const std::string& password) = 0;
  virtual bool SetOption(std::uint32_t option, std::uint32_t value) = 0;
  // Header lines separated by CR LF, added with ADD | REPLACE.
  virtual bool AddRequestHeaders(const std::string& headers) = 0;
  virtual bool SendRequest(std::string_view body) = 0;
  virtual bool ReceiveResponse() = 0;
  // Bytes ready to read; nothing when the query fails.
  virtual std::optional<std::uint32_t> QueryDataAvailable() = 0;
  // Reads up to `size` bytes into `buffer`; the number read, nothing on failure.
  virtual std::optional<std::size_t> ReadData(char* buffer, std::size_t size) = 0;
  // The raw response header block (WINHTTP_QUERY_RAW_HEADERS_CRLF) as GBK
  // text ending at its first NUL; nothing when it cannot be retrieved.
  virtual std::optional<std::string> RawHeaders() = 0;
};

class HttpTransport {
 public:
  virtual ~HttpTransport() = default;
  // WinHttpCheckPlatform.
  virtual bool PlatformSupported() = 0;
  // WinHttpCrackUrl; nothing when the URL cannot be read.
  virtual std::optional<CrackedUrl> CrackUrl(const std::string& url) = 0;
  virtual std::unique_ptr<HttpExchange> NewExchange() = 0;
};
