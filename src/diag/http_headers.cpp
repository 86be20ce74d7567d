#include "diag/http_headers.h"

#include <array>

#include "diag/regex_matcher.h"
#include "diag/text_search.h"

namespace {

constexpr std::array<std::string_view, 8> kVerbs{"GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int kPost = 1;

struct DefaultHeader {
  std::string_view key;  // looked for in the text built so far
  bool ignoreCase;
  std::string_view line;
};

constexpr DefaultHeader kUserAgent{"User-Agent: ", true,
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"};
constexpr DefaultHeader kAccept{"Accept: ", true, "Accept: text/html, application/xhtml+xml, */*\r\n"};
constexpr DefaultHeader kAcceptEncoding{"Accept-Encoding: ", true, "Accept-Encoding: gbk, GB2312\r\n"};
constexpr DefaultHeader kAcceptLanguage{"Accept-Language: ", true, "Accept-Language: zh-cn\r\n"};
constexpr DefaultHeader kContentType{"Content-Type:", false, "Content-Type: application/x-www-form-urlencoded\r\n"};
constexpr DefaultHeader kCacheControl{"Cache-Control: ", true, "Cache-Control: no-cache\r\n"};

void AddUnlessPresent(std::string& headers, const DefaultHeader& row) {
  if (FindText(headers, row.key, 0, row.ignoreCase) == std::string::npos) headers.append(row.line);
}

constexpr std::size_t kCharsetWindow = 1024;
constexpr std::string_view kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

}  // namespace

std::string_view MethodVerb(int method) {
  return method >= 0 && method < static_cast<int>(kVerbs.size()) ? kVerbs[static_cast<std::size_t>(method)]
                                                                  : kVerbs[0];
}

std::string BuildRequestHeaders(std::string_view extraHeaders, int method, std::string_view sendCookies) {
  std::string headers;
  if (!extraHeaders.empty()) headers.append(extraHeaders).append("\r\n");
  AddUnlessPresent(headers, kUserAgent);
  AddUnlessPresent(headers, kAccept);
  AddUnlessPresent(headers, kAcceptEncoding);
  AddUnlessPresent(headers, kAcceptLanguage);
  if (method == kPost) {
    // The caller's own lower-case header satisfies the exact-case search.
    if (FindText(headers, "content-type:") != std::string::npos)
      headers = ReplaceText(headers, "content-type", "Content-Type");
    AddUnlessPresent(headers, kContentType);
  }
  AddUnlessPresent(headers, kCacheControl);
  if (!sendCookies.empty()) headers.append("Cookie: ").append(sendCookies).append("\r\n");
  return headers;
}

std::string StatusTextOf(std::string_view responseHeaders) {
  constexpr std::size_t kCodeOffset = 9;  // "HTTP/1.1 " precedes the code
  if (responseHeaders.size() <= kCodeOffset) return {};
  const std::size_t end = FindText(responseHeaders, "\r\n", kCodeOffset);
  const std::string_view rest = responseHeaders.substr(kCodeOffset);
  return std::string(end == std::string_view::npos ? rest : rest.substr(0, end - kCodeOffset));
}

void ReadResponseHeaderLines(std::string_view responseHeaders, std::string& receivedCookies,
                             std::optional<std::string>& location) {
  constexpr std::string_view kLocation = "Location: ";
  for (const std::string& line : SplitText(responseHeaders, "\r\n")) {
    if (TextBefore(line, ": ") == "Set-Cookie") {
      const std::string cookie = FindText(line, ";") != std::string::npos
                                     ? TextBetween(line, "Set-Cookie:", ";")
                                     : ReplaceText(line, "Set-Cookie:", "", true);
      receivedCookies.append(TrimBlanks(cookie)).append("; ");
    }
    if (line.size() >= kLocation.size() && FindText(line.substr(0, kLocation.size()), kLocation, 0, true) == 0)
      location = line.substr(kLocation.size());
  }
  receivedCookies.resize(receivedCookies.size() >= 2 ? receivedCookies.size() - 2 : 0);
}

std::string DeclaredCharset(std::string_view bodyText) {
  RegexMatcher matcher;
  if (!matcher.Match(kCharsetPattern, bodyText.substr(0, kCharsetWindow))) return {};
  return matcher.SubMatchText(1, 1);
}

bool NeedsRedecoding(std::string_view charset) {
  return !charset.empty() && charset != "gbk" && charset != "gb2312";
}
