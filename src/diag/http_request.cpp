#include "diag/http_request.h"

#include <algorithm>
#include <new>

#include "diag/cookies.h"
#include "diag/http_headers.h"
#include "platform/charset_decoder.h"
#include "platform/http_transport.h"

namespace {

constexpr std::string_view kNoWinHttp = "700 当前系统不支持WinHttp服务!";
constexpr std::string_view kBadUrl = "701 解析URL地址失败!";
constexpr std::string_view kNoSession = "702 创建WinHttp会话失败!";
constexpr std::string_view kNoConnection = "703 创建WinHttp连接失败!";
constexpr std::string_view kNoRequest = "704 创建WinHttp请求失败!";
constexpr std::string_view kNoTimeouts = "705 设置超时时间失败!";
constexpr std::string_view kNoCredentials = "707 设置代理凭证失败!";
constexpr std::string_view kNoCookieOption = "708 禁止自动设置Cookies失败!";
constexpr std::string_view kNoRedirectOption = "709 重定向设置失败!";
constexpr std::string_view kNoHeaders = "710 设置协议头失败!";
constexpr std::string_view kNotSent = "711 发送请求失败!";
constexpr std::string_view kNoResponse = "712 服务器未响应!";
constexpr std::string_view kReadFailed = "713 读取数据失败!";

constexpr int kDefaultTimeoutMs = 30000;
// WinHTTP reports what it has buffered, a few kilobytes; a larger figure
// is read in pieces rather than trusted with one allocation.
constexpr std::uint32_t kLargestRead = 1 << 20;

void Report(const HttpRequestOptions& o, std::string_view message) {
  if (o.statusText) o.statusText->assign(message);
}

std::string ObjectName(const CrackedUrl& url) {
  return (url.path.empty() ? std::string("/") : url.path) + url.extraInfo;
}

// Steps 6 to 15: everything up to a response. The message of the step that
// failed, or nothing.
std::optional<std::string_view> SendRequest(HttpExchange& exchange, const CrackedUrl& target,
                                            const HttpRequestOptions& o) {
  const bool proxied = !o.proxy.empty();
  const std::string proxyName = !proxied ? std::string() : target.secure ? o.proxy : "http=" + o.proxy;
  if (!exchange.Open(proxied ? HttpAccess::NamedProxy : HttpAccess::NoProxy, proxyName)) return kNoSession;
  if (!exchange.Connect(target.host, target.port)) return kNoConnection;
  if (!exchange.OpenRequest(std::string(MethodVerb(o.method)), ObjectName(target), target.secure)) return kNoRequest;

  const int t = o.timeoutSeconds > 0 ? std::min(o.timeoutSeconds, kLongestHttpTimeoutSeconds) * 1000 : kDefaultTimeoutMs;
  if (!exchange.SetTimeouts(t, t, t, t)) return kNoTimeouts;

  if (!o.serverUser.empty() && !o.serverPassword.empty() &&
      !exchange.SetCredentials(HttpAuthTarget::Server, o.serverUser, o.serverPassword))
    return kNoCredentials;
  if (!o.proxyUser.empty() && !o.proxyPassword.empty() &&
      !exchange.SetCredentials(HttpAuthTarget::Proxy, o.proxyUser, o.proxyPassword))
    return kNoCredentials;

  const bool cookieOption = o.sendCookies
                                ? exchange.SetOption(HttpOption::EnableFeature, 1)
                                : exchange.SetOption(HttpOption::DisableFeature, HttpOption::DisableCookies);
  if (!cookieOption) return kNoCookieOption;
  if (o.noRedirect && !exchange.SetOption(HttpOption::DisableFeature, HttpOption::DisableRedirects))
    return kNoRedirectOption;

  const std::string headers = BuildRequestHeaders(o.extraHeaders, o.method, o.sendCookies.value_or(""));
  if (!exchange.AddRequestHeaders(headers)) return kNoHeaders;
  if (!exchange.SendRequest(o.postData)) return kNotSent;
  if (!exchange.ReceiveResponse()) return kNoResponse;
  return std::nullopt;
}

// Step 16: every byte the server sends, however it arrives, up to the
// limit. A failed read keeps what came before it.
std::string ReadBody(HttpExchange& exchange, const HttpRequestOptions& o) {
  std::string body;
  std::string chunk;
  while (body.size() < o.bodyLimit) {
    const std::optional<std::uint32_t> available = exchange.QueryDataAvailable();
    if (!available || *available < 1) break;
    try {
      chunk.resize(std::min<std::size_t>({*available, kLargestRead, o.bodyLimit - body.size()}));
      const std::optional<std::size_t> read = exchange.ReadData(chunk.data(), chunk.size());
      if (!read) {
        Report(o, kReadFailed);
        break;
      }
      body.append(chunk, 0, std::min(*read, chunk.size()));
    } catch (const std::bad_alloc&) {
      Report(o, kReadFailed);  // more than memory holds: keep what fits
      break;
    }
  }
  return body;
}

// Step 21: a page that names another character set than GBK is read again
// in it; an unknown one leaves the text as it came.
std::string PageText(CharsetDecoder& charsets, const std::string& body, std::string text) {
  const std::string charset = DeclaredCharset(text);
  if (!NeedsRedecoding(charset)) return text;
  std::optional<std::string> decoded = charsets.Decode(body, charset);
  if (!decoded) return text;
  return decoded->substr(0, decoded->find('\0'));
}

}  // namespace

std::string HttpRequest(HttpTransport& http, CharsetDecoder& charsets, const std::string& url,
                        const HttpRequestOptions& o) {
  if (!http.PlatformSupported()) {
    Report(o, kNoWinHttp);
    return {};
  }
  const std::optional<CrackedUrl> target = http.CrackUrl(url);
  if (!target) {
    Report(o, kBadUrl);
    return {};
  }

  std::string body, rawHeaders;
  {
    // The handles close when the exchange ends, before the texts are read.
    const std::unique_ptr<HttpExchange> exchange = http.NewExchange();
    if (!exchange) {
      Report(o, kNoSession);
      return {};
    }
    if (const auto failure = SendRequest(*exchange, *target, o)) {
      Report(o, *failure);
      return {};
    }
    body = ReadBody(*exchange, o);
    std::optional<std::string> headers = exchange->RawHeaders();
    if (!headers) return {};
    rawHeaders = std::move(*headers);
  }

  Report(o, StatusTextOf(rawHeaders));
  std::string cookies = o.receivedCookies ? *o.receivedCookies : std::string();
  std::optional<std::string> location;
  ReadResponseHeaderLines(rawHeaders, cookies, location);
  if (o.mergeCookies && o.sendCookies) cookies = MergeCookies(*o.sendCookies, cookies);

  if (o.responseHeaders) *o.responseHeaders = rawHeaders;
  if (o.receivedCookies) *o.receivedCookies = cookies;
  if (o.redirectLocation && location) *o.redirectLocation = *location;
  if (o.responseBody) *o.responseBody = body;

  return PageText(charsets, body, body.substr(0, body.find('\0')));
}
