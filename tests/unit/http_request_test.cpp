#include "diag/http_request.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_diag.h"

namespace {

using Options = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
const std::vector<int> k30s{30000, 30000, 30000, 30000};

// Every output of one call, each starting from a marker value so that a
// test can tell "left alone" from "written".
struct Outputs {
  std::string cookies = "untouched", headers = "untouched", location = "untouched", status = "untouched",
              body = "untouched";
  bool Untouched() const {
    return cookies == "untouched" && headers == "untouched" && location == "untouched" && body == "untouched";
  }
};

class HttpRequestTest : public ::testing::Test {
 protected:
  std::string Request(const std::string& url, HttpRequestOptions o = {}) {
    o.receivedCookies = &out.cookies;
    o.responseHeaders = &out.headers;
    o.redirectLocation = &out.location;
    o.statusText = &out.status;
    o.responseBody = &out.body;
    return HttpRequest(http, charsets, url, o);
  }
  const HttpExchangeRecord& Last() const { return http.Last(); }

  ScriptedHttp http;
  FakeCharsetDecoder charsets;
  Outputs out;
};

TEST_F(HttpRequestTest, APlainGetAsksWinHttpForExactlyThisRequest) {
  http.rawHeaders = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n";
  http.chunks = {"hel", "lo"};
  EXPECT_EQ(Request("http://example.test:8080/a/b?q=1"), "hello");

  const HttpExchangeRecord& r = Last();
  EXPECT_EQ(r.access, HttpAccess::NoProxy);
  EXPECT_EQ(r.host, "example.test");
  EXPECT_EQ(r.port, 8080);
  EXPECT_EQ(r.verb, "GET");
  EXPECT_EQ(r.objectName, "/a/b?q=1");
  EXPECT_EQ(r.timeouts, k30s);
  EXPECT_TRUE(r.credentials.empty());
  EXPECT_EQ(r.options, (Options{{HttpOption::DisableFeature, HttpOption::DisableCookies}}));
  EXPECT_EQ(r.headers.find("Cookie:"), std::string::npos);
  EXPECT_TRUE(r.closed);

  EXPECT_EQ(out.status, "200 OK");
  EXPECT_EQ(out.headers, http.rawHeaders);
  EXPECT_EQ(out.body, "hello");
  EXPECT_EQ(out.location, "untouched");  // no Location line
  EXPECT_EQ(out.cookies, "untouch");     // the separator cut happens anyway
}

TEST_F(HttpRequestTest, ProxyTimeoutsCredentialsAndBodyFollowTheOptions) {
  HttpRequestOptions o;
  o.proxy = "127.0.0.1:2080";
  o.timeoutSeconds = 10;
  o.method = 1;
  o.postData = std::string("a=1&b=\0x", 8);
  o.serverUser = "u";  // without its password: not sent
  o.proxyUser = "pu";
  o.proxyPassword = "pp";
  Request("http://h/", o);
  EXPECT_EQ(Last().access, HttpAccess::NamedProxy);
  EXPECT_EQ(Last().proxyName, "http=127.0.0.1:2080");
  EXPECT_EQ(Last().timeouts, (std::vector<int>{10000, 10000, 10000, 10000}));
  EXPECT_EQ(Last().credentials, (decltype(Last().credentials){{HttpAuthTarget::Proxy, "pu:pp"}}));
  EXPECT_EQ(Last().verb, "POST");
  EXPECT_EQ(Last().sentBody, o.postData);

  o.timeoutSeconds = -3;
  Request("https://h", o);
  EXPECT_EQ(Last().proxyName, "127.0.0.1:2080");
  EXPECT_TRUE(Last().secure);
  EXPECT_EQ(Last().objectName, "/");
  EXPECT_EQ(Last().timeouts, k30s);
}

TEST_F(HttpRequestTest, CookiesGivenEvenEmptyKeepWinHttpsCookieHandling) {
  HttpRequestOptions o;
  o.sendCookies = "";
  Request("http://h/", o);
  EXPECT_EQ(Last().options, (Options{{HttpOption::EnableFeature, 1}}));
  EXPECT_EQ(Last().headers.find("Cookie:"), std::string::npos);

  o.sendCookies = "a=1; b=2";
  o.noRedirect = true;
  Request("http://h/", o);
  EXPECT_EQ(Last().options,
            (Options{{HttpOption::EnableFeature, 1}, {HttpOption::DisableFeature, HttpOption::DisableRedirects}}));
  EXPECT_NE(Last().headers.find("\r\nCookie: a=1; b=2\r\n"), std::string::npos);
}

TEST_F(HttpRequestTest, EachFailingStepHasItsMessageAndWritesNothingElse) {
  const std::pair<const char*, const char*> steps[] = {
      {"Open", "702 创建WinHttp会话失败!"},          {"Connect", "703 创建WinHttp连接失败!"},
      {"OpenRequest", "704 创建WinHttp请求失败!"},   {"SetTimeouts", "705 设置超时时间失败!"},
      {"SetCredentials", "707 设置代理凭证失败!"},   {"SetOption", "708 禁止自动设置Cookies失败!"},
      {"AddRequestHeaders", "710 设置协议头失败!"},  {"SendRequest", "711 发送请求失败!"},
      {"ReceiveResponse", "712 服务器未响应!"},
  };
  http.chunks = {"body"};
  HttpRequestOptions o;
  o.proxyUser = o.proxyPassword = "x";
  for (const auto& [step, message] : steps) {
    http.failStep = step;
    out = Outputs{};
    EXPECT_EQ(Request("http://h/", o), "") << step;
    EXPECT_EQ(out.status, message);
    EXPECT_TRUE(out.Untouched());
    EXPECT_EQ(Last().steps.back(), step);  // nothing after the failure
    EXPECT_TRUE(Last().closed);
  }
  http.failStep = "SetOption";
  http.failOptionValue = HttpOption::DisableRedirects;
  o.noRedirect = true;
  Request("http://h/", o);
  EXPECT_EQ(out.status, "709 重定向设置失败!");

  const std::size_t exchanges = http.exchanges.size();
  http.platformSupported = false;
  EXPECT_EQ(Request("http://h/"), "");
  EXPECT_EQ(out.status, "700 当前系统不支持WinHttp服务!");
  http.platformSupported = true;
  EXPECT_EQ(Request("ftp://h/"), "");
  EXPECT_EQ(out.status, "701 解析URL地址失败!");
  EXPECT_EQ(http.exchanges.size(), exchanges);
}

TEST_F(HttpRequestTest, AFailedReadKeepsTheBytesBeforeItAndMissingHeadersEndTheCall) {
  http.rawHeaders = "HTTP/1.1 206 Partial\r\n\r\n";
  http.chunks = {"part1", "part2", "part3"};
  http.failStep = "ReadData";
  http.failReadAt = 2;
  EXPECT_EQ(Request("http://h/"), "part1part2");
  EXPECT_EQ(out.status, "206 Partial");  // the status line replaces the 713

  out = Outputs{};
  http.headersFail = true;
  EXPECT_EQ(Request("http://h/"), "");
  EXPECT_EQ(out.status, "713 读取数据失败!");  // ... unless there are no headers
  EXPECT_TRUE(out.Untouched());
  EXPECT_TRUE(Last().closed);
}

TEST_F(HttpRequestTest, TheTextEndsAtAZeroByteAndLargeCountsAreReadInPieces) {
  http.chunks = {std::string("ab\0cd", 5)};
  EXPECT_EQ(Request("http://h/"), "ab");
  EXPECT_EQ(out.body, std::string("ab\0cd", 5));

  http.claimedSize = 0xFFFFFFFFu;  // no 4 GB buffer for a liar
  http.chunks = {std::string(100, 'x'), "y"};
  EXPECT_EQ(Request("http://h/"), std::string(100, 'x') + "y");

  // An endless body is read up to the limit, and the answer stands.
  http.claimedSize.reset();
  http.chunks = {std::string(1 << 16, 'z')};
  http.endless = true;
  EXPECT_EQ(Request("http://h/").size(), kHttpBodyLimit);
  EXPECT_EQ(out.status, "200 OK");
}

TEST_F(HttpRequestTest, ReceivedCookiesAreMergedWithTheSentOnes) {
  http.rawHeaders = "HTTP/1.1 302 Found\r\nSet-Cookie: b=3\r\nSet-Cookie: c=deleted\r\nlocation: /next\r\n\r\n";
  HttpRequestOptions o;
  o.sendCookies = "a=1; b=2";
  out.cookies = "";
  Request("http://h/", o);
  EXPECT_EQ(out.cookies, "b=3; a=1");
  EXPECT_EQ(out.location, "/next");

  o.mergeCookies = false;
  out.cookies = "";
  Request("http://h/", o);
  EXPECT_EQ(out.cookies, "b=3; c=deleted");
}

TEST_F(HttpRequestTest, APageInAnotherCharsetIsReadAgainInIt) {
  const std::string page = "<meta charset=\"utf-8\"><p>\xE4\xB8\xAD</p>";
  http.chunks = {page};
  charsets.known["utf-8"] = "<meta charset=\"utf-8\"><p>中</p>";
  EXPECT_EQ(Request("http://h/"), "<meta charset=\"utf-8\"><p>中</p>");
  EXPECT_EQ(charsets.calls, (decltype(charsets.calls){{"utf-8", page}}));
  EXPECT_EQ(out.body, page);  // the bytes stay as received

  for (const char* gbk : {"gbk", "gb2312"}) {
    http.chunks = {std::string("<meta charset=") + gbk + ">中"};
    EXPECT_EQ(Request("http://h/"), http.chunks[0]);
  }
  EXPECT_EQ(charsets.calls.size(), 1u);
  // Names the decoder does not know leave the text as it came.
  for (const char* other : {"<META CHARSET=GBK>中", "<meta charset=x-klingon>text"}) {
    http.chunks = {other};
    EXPECT_EQ(Request("http://h/"), other);
  }
  EXPECT_EQ(charsets.calls[1].first, "GBK");
}

TEST_F(HttpRequestTest, HostileHeadersDoNotBreakTheParsing) {
  std::string huge = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 20000; ++i) huge += "Set-Cookie: k" + std::to_string(i) + "=v; path=/\r\nX-Pad: " + std::string(50, 'p') + "\r\n";
  http.rawHeaders = huge + "Set-Cookie: noequals\r\nSet-Cookie:\r\nLocation: \r\n\r\n";
  http.chunks = {"ok"};
  HttpRequestOptions o;
  o.sendCookies = "k5=old; z=1";
  out.cookies = "";
  EXPECT_EQ(Request("http://h/", o), "ok");
  EXPECT_TRUE(out.cookies.starts_with("k0=v; k1=v; "));
  EXPECT_TRUE(out.cookies.ends_with("; noequals; z=1"));
  EXPECT_EQ(out.location, "");

  for (const char* shortLine : {"", "H", "HTTP/1.1", "HTTP/1.1 2", "\r\n\r\n"}) {
    http.rawHeaders = shortLine;
    EXPECT_EQ(Request("http://h/"), "ok") << shortLine;
  }
}

}  // namespace
