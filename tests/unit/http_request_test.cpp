#include "diag/http_request.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_diag.h"

namespace {

// Every output of one call, each starting from a marker value so that a
// test can tell "left alone" from "written".
struct Outputs {
  std::string cookies = "untouched";
  std::string headers = "untouched";
  std::string location = "untouched";
  std::string status = "untouched";
  std::string body = "untouched";
  void Attach(HttpRequestOptions& o) {
    o.receivedCookies = &cookies;
    o.responseHeaders = &headers;
    o.redirectLocation = &location;
    o.statusText = &status;
    o.responseBody = &body;
  }
};

class HttpRequestTest : public ::testing::Test {
 protected:
  std::string Request(const std::string& url, HttpRequestOptions o = {}) {
    out.Attach(o);
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
  EXPECT_EQ(r.proxyName, "");
  EXPECT_EQ(r.host, "example.test");
  EXPECT_EQ(r.port, 8080);
  EXPECT_EQ(r.verb, "GET");
  EXPECT_EQ(r.objectName, "/a/b?q=1");
  EXPECT_FALSE(r.secure);
  EXPECT_EQ(r.timeouts, (std::vector<int>{30000, 30000, 30000, 30000}));
  EXPECT_TRUE(r.credentials.empty());
  using Options = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
  EXPECT_EQ(r.options, (Options{{HttpOption::DisableFeature, HttpOption::DisableCookies}}));
  EXPECT_EQ(r.headers.find("Cookie:"), std::string::npos);
  EXPECT_TRUE(r.closed);

  EXPECT_EQ(out.status, "200 OK");
  EXPECT_EQ(out.headers, http.rawHeaders);
  EXPECT_EQ(out.body, "hello");
  EXPECT_EQ(out.location, "untouched");  // no Location line
  EXPECT_EQ(out.cookies, "untouch");     // the separator cut happens anyway
}

TEST_F(HttpRequestTest, TheProxyIsNamedForTheSchemeAndTimeoutsFollowTheSeconds) {
  HttpRequestOptions o;
  o.proxy = "127.0.0.1:2080";
  o.timeoutSeconds = 10;
  Request("http://h/", o);
  EXPECT_EQ(Last().access, HttpAccess::NamedProxy);
  EXPECT_EQ(Last().proxyName, "http=127.0.0.1:2080");
  EXPECT_EQ(Last().timeouts, (std::vector<int>{10000, 10000, 10000, 10000}));

  o.timeoutSeconds = -3;
  Request("https://h", o);
  EXPECT_EQ(Last().proxyName, "127.0.0.1:2080");
  EXPECT_TRUE(Last().secure);
  EXPECT_EQ(Last().port, 443);
  EXPECT_EQ(Last().objectName, "/");
  EXPECT_EQ(Last().timeouts, (std::vector<int>{30000, 30000, 30000, 30000}));
}

TEST_F(HttpRequestTest, CookiesGivenEvenEmptyKeepWinHttpsCookieHandling) {
  using Options = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
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

TEST_F(HttpRequestTest, CredentialsGoOutOnlyAsCompletePairs) {
  HttpRequestOptions o;
  o.serverUser = "u";
  o.proxyUser = "pu";
  o.proxyPassword = "pp";
  Request("http://h/", o);
  ASSERT_EQ(Last().credentials.size(), 1u);
  EXPECT_EQ(Last().credentials[0], std::make_pair(HttpAuthTarget::Proxy, std::string("pu:pp")));

  o.serverPassword = "sp";
  Request("http://h/", o);
  ASSERT_EQ(Last().credentials.size(), 2u);
  EXPECT_EQ(Last().credentials[0], std::make_pair(HttpAuthTarget::Server, std::string("u:sp")));
}

TEST_F(HttpRequestTest, APostSendsItsBodyAndOutOfRangeMethodsSendGet) {
  HttpRequestOptions o;
  o.method = 1;
  o.postData = std::string("a=1&b=\0x", 8);
  Request("http://h/form", o);
  EXPECT_EQ(Last().verb, "POST");
  EXPECT_EQ(Last().sentBody, o.postData);
  EXPECT_NE(Last().headers.find("Content-Type: application/x-www-form-urlencoded\r\n"), std::string::npos);
  for (int method : {9, -1}) {
    o.method = method;
    Request("http://h/", o);
    EXPECT_EQ(Last().verb, "GET");
    EXPECT_EQ(Last().headers.find("Content-Type"), std::string::npos);
  }
}

TEST_F(HttpRequestTest, EachFailingStepHasItsMessageAndWritesNothingElse) {
  const std::pair<const char*, const char*> steps[] = {
      {"Open", "702 创建WinHttp会话失败!"},
      {"Connect", "703 创建WinHttp连接失败!"},
      {"OpenRequest", "704 创建WinHttp请求失败!"},
      {"SetTimeouts", "705 设置超时时间失败!"},
      {"SetCredentials", "707 设置代理凭证失败!"},
      {"SetOption", "708 禁止自动设置Cookies失败!"},
      {"AddRequestHeaders", "710 设置协议头失败!"},
      {"SendRequest", "711 发送请求失败!"},
      {"ReceiveResponse", "712 服务器未响应!"},
  };
  http.chunks = {"body"};
  for (const auto& [step, message] : steps) {
    http.failStep = step;
    out = Outputs{};
    HttpRequestOptions o;
    o.proxyUser = o.proxyPassword = "x";
    EXPECT_EQ(Request("http://h/", o), "") << step;
    EXPECT_EQ(out.status, message);
    EXPECT_EQ(out.body, "untouched");
    EXPECT_EQ(out.headers, "untouched");
    EXPECT_EQ(out.cookies, "untouched");
    EXPECT_EQ(out.location, "untouched");
    EXPECT_EQ(Last().steps.back(), step);  // nothing after the failure
    EXPECT_TRUE(Last().closed);
  }

  http.failStep = "SetOption";
  http.failOptionValue = HttpOption::DisableRedirects;
  HttpRequestOptions o;
  o.noRedirect = true;
  Request("http://h/", o);
  EXPECT_EQ(out.status, "709 重定向设置失败!");
}

TEST_F(HttpRequestTest, FailuresBeforeAnyHandleAreReportedToo) {
  http.platformSupported = false;
  EXPECT_EQ(Request("http://h/"), "");
  EXPECT_EQ(out.status, "700 当前系统不支持WinHttp服务!");
  http.platformSupported = true;
  EXPECT_EQ(Request("ftp://h/"), "");
  EXPECT_EQ(out.status, "701 解析URL地址失败!");
  EXPECT_TRUE(http.exchanges.empty());
}

TEST_F(HttpRequestTest, AFailedReadKeepsTheBytesBeforeItAndTheStatusLineWins) {
  http.rawHeaders = "HTTP/1.1 206 Partial\r\n\r\n";
  http.chunks = {"part1", "part2", "part3"};
  http.failStep = "ReadData";
  http.failReadAt = 2;
  EXPECT_EQ(Request("http://h/"), "part1part2");
  EXPECT_EQ(out.status, "206 Partial");

  out = Outputs{};
  http.failStep = "";
  http.chunks = {"x"};
  http.rawHeaders = "";  // RawHeaders still answers, with nothing
  EXPECT_EQ(Request("http://h/"), "x");
  EXPECT_EQ(out.status, "");
}

TEST_F(HttpRequestTest, WithoutHeadersTheCallEndsEmptyAndLeavesTheOutputs) {
  http.chunks = {"a", "b"};
  http.headersFail = true;
  EXPECT_EQ(Request("http://h/"), "");
  EXPECT_EQ(out.status, "untouched");
  EXPECT_EQ(out.body, "untouched");
  EXPECT_EQ(out.headers, "untouched");
  EXPECT_EQ(out.cookies, "untouched");
  EXPECT_TRUE(Last().closed);

  http.failStep = "ReadData";  // a read failure's message stays
  http.failReadAt = 1;
  EXPECT_EQ(Request("http://h/"), "");
  EXPECT_EQ(out.status, "713 读取数据失败!");
  EXPECT_EQ(out.body, "untouched");
}

TEST_F(HttpRequestTest, ABodyWithAZeroByteEndsTheTextButNotTheBytes) {
  http.chunks = {std::string("ab\0cd", 5)};
  EXPECT_EQ(Request("http://h/"), "ab");
  EXPECT_EQ(out.body, std::string("ab\0cd", 5));
  http.chunks = {std::string(3, '\0')};
  EXPECT_EQ(Request("http://h/"), "");
  EXPECT_EQ(out.body.size(), 3u);
}

TEST_F(HttpRequestTest, AnOversizedAvailableCountIsReadInPieces) {
  http.claimedSize = 0xFFFFFFFFu;
  http.chunks = {std::string(100, 'x'), "y"};
  EXPECT_EQ(Request("http://h/"), std::string(100, 'x') + "y");
}

TEST_F(HttpRequestTest, CookiesAndRedirectTargetComeFromTheHeaders) {
  http.rawHeaders =
      "HTTP/1.1 302 Found\r\nSet-Cookie: a=1; path=/\r\nset-cookie: z=9\r\nSet-Cookie: b=2\r\n"
      "location: /next\r\n\r\n";
  HttpRequestOptions o;
  out.Attach(o);
  out.cookies = "";
  HttpRequest(http, charsets, "http://h/", o);
  EXPECT_EQ(out.cookies, "a=1; b=2");
  EXPECT_EQ(out.location, "/next");
  EXPECT_EQ(out.status, "302 Found");

  http.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: b=3\r\nSet-Cookie: c=deleted\r\n\r\n";
  o.sendCookies = "a=1; b=2";
  out.cookies = "";
  HttpRequest(http, charsets, "http://h/", o);
  EXPECT_EQ(out.cookies, "b=3; a=1");

  o.mergeCookies = false;
  out.cookies = "";
  HttpRequest(http, charsets, "http://h/", o);
  EXPECT_EQ(out.cookies, "b=3; c=deleted");
}

TEST_F(HttpRequestTest, AnErrorStatusStillReturnsItsBody) {
  http.rawHeaders = "HTTP/1.1 404 Not Found\r\n\r\n";
  http.chunks = {"<h1>missing</h1>"};
  EXPECT_EQ(Request("http://h/x"), "<h1>missing</h1>");
  EXPECT_EQ(out.status, "404 Not Found");
}

TEST_F(HttpRequestTest, APageInAnotherCharsetIsReadAgainInIt) {
  const std::string page = "<meta charset=\"utf-8\"><p>\xE4\xB8\xAD</p>";
  http.chunks = {page};
  charsets.known["utf-8"] = "<meta charset=\"utf-8\"><p>中</p>";
  EXPECT_EQ(Request("http://h/"), "<meta charset=\"utf-8\"><p>中</p>");
  ASSERT_EQ(charsets.calls.size(), 1u);
  EXPECT_EQ(charsets.calls[0], std::make_pair(std::string("utf-8"), page));
  EXPECT_EQ(out.body, page);  // the bytes stay as received

  for (const char* gbk : {"gbk", "gb2312"}) {
    http.chunks = {std::string("<meta charset=") + gbk + ">中"};
    EXPECT_EQ(Request("http://h/"), http.chunks[0]);
  }
  EXPECT_EQ(charsets.calls.size(), 1u);

  http.chunks = {"<META CHARSET=GBK>中"};
  EXPECT_EQ(Request("http://h/"), "<META CHARSET=GBK>中");  // unknown to the fake: kept
  EXPECT_EQ(charsets.calls.back().first, "GBK");

  http.chunks = {"<meta charset=x-klingon>text"};
  EXPECT_EQ(Request("http://h/"), "<meta charset=x-klingon>text");
}

TEST_F(HttpRequestTest, HostileHeadersDoNotBreakTheParsing) {
  std::string huge = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 20000; ++i) huge += "Set-Cookie: k" + std::to_string(i) + "=v; path=/\r\nX-Pad: " + std::string(50, 'p') + "\r\n";
  huge += "Set-Cookie: noequals\r\nSet-Cookie:\r\nLocation: \r\n\r\n";
  http.rawHeaders = huge;
  http.chunks = {"ok"};
  HttpRequestOptions o;
  o.sendCookies = "k5=old; z=1";
  out.cookies = "";
  EXPECT_EQ(Request("http://h/", o), "ok");
  EXPECT_TRUE(out.cookies.starts_with("k0=v; k1=v; "));
  EXPECT_NE(out.cookies.find("; noequals; "), std::string::npos);
  EXPECT_TRUE(out.cookies.ends_with("; z=1"));
  EXPECT_EQ(out.location, "");

  for (const char* shortLine : {"", "H", "HTTP/1.1", "HTTP/1.1 2", "\r\n\r\n"}) {
    http.rawHeaders = shortLine;
    EXPECT_EQ(Request("http://h/"), "ok") << shortLine;
  }
}

}  // namespace
