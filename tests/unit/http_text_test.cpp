#include <gtest/gtest.h>

#include <string>

#include "diag/charset_names.h"
#include "diag/cookies.h"
#include "diag/http_headers.h"
#include "diag/text_search.h"

namespace {

constexpr const char* kUserAgentLine =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";
constexpr const char* kDefaultsAfterUserAgent =
    "Accept: text/html, application/xhtml+xml, */*\r\n"
    "Accept-Encoding: gbk, GB2312\r\n"
    "Accept-Language: zh-cn\r\n";
constexpr const char* kFormType = "Content-Type: application/x-www-form-urlencoded\r\n";
constexpr const char* kNoCache = "Cache-Control: no-cache\r\n";

TEST(HttpTextSearch, MarkersAreFoundOnCharacterBoundariesOnly) {
  EXPECT_EQ(FindText("\x81\x41" "A", "A"), 2u);  // not the trail byte of the first character
  EXPECT_EQ(FindText("aXbX", "x", 2, true), 3u);
  EXPECT_EQ(FindText("aXbX", "x"), std::string::npos);
  EXPECT_EQ(TextBefore("a;b;c", ";", 3), "a;b");
  EXPECT_EQ(TextBetween("x=\"v\";", "x=#引号", "#引号"), "v");
  EXPECT_EQ(TextBetween("[a", "[", "]"), "");
  EXPECT_EQ(SplitText("a;;b;", ";"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(TrimBlanks("\xA1\xA1 a b \xA1\xA1"), "a b");
  EXPECT_EQ(TrimBlanks("\xB0\xA1\xA1\xA1"), "\xB0\xA1");  // the trail byte is no blank
}

TEST(HttpRequestHeaders, DefaultsFillWhatTheCallerLeftOut) {
  EXPECT_EQ(BuildRequestHeaders("", 0, ""), std::string(kUserAgentLine) + kDefaultsAfterUserAgent + kNoCache);
  EXPECT_EQ(BuildRequestHeaders("user-agent: X", 0, ""),
            std::string("user-agent: X\r\n") + kDefaultsAfterUserAgent + kNoCache);
  EXPECT_EQ(BuildRequestHeaders("User-Agent:X", 0, ""),
            std::string("User-Agent:X\r\n") + kUserAgentLine + kDefaultsAfterUserAgent + kNoCache);
  EXPECT_EQ(BuildRequestHeaders("ACCEPT: a\r\nCache-control: max-age=0", 0, "a=1"),
            "ACCEPT: a\r\nCache-control: max-age=0\r\n" + std::string(kUserAgentLine) +
                "Accept-Encoding: gbk, GB2312\r\nAccept-Language: zh-cn\r\nCookie: a=1\r\n");
}

TEST(HttpRequestHeaders, ContentTypeIsAPostDefaultSearchedInExactCase) {
  const std::string defaults = std::string(kUserAgentLine) + kDefaultsAfterUserAgent;
  EXPECT_EQ(BuildRequestHeaders("", 1, ""), defaults + kFormType + kNoCache);
  EXPECT_EQ(BuildRequestHeaders("content-type: text/plain", 1, ""),
            "Content-Type: text/plain\r\n" + defaults + kNoCache);
  EXPECT_EQ(BuildRequestHeaders("CONTENT-TYPE: text/plain", 1, ""),
            "CONTENT-TYPE: text/plain\r\n" + defaults + kFormType + kNoCache);
  EXPECT_EQ(BuildRequestHeaders("", 0, "").find("Content-Type"), std::string::npos);
  EXPECT_EQ(BuildRequestHeaders("", 9, "").find("Content-Type"), std::string::npos);
}

TEST(HttpRequestHeaders, MethodCodesOutOfRangeSendGet) {
  EXPECT_EQ(MethodVerb(1), "POST");
  EXPECT_EQ(MethodVerb(7), "CONNECT");
  for (int code : {0, 8, 9, -1}) EXPECT_EQ(MethodVerb(code), "GET") << code;
}

TEST(HttpResponseHeaders, StatusTextIsTheStatusLineFromItsCode) {
  EXPECT_EQ(StatusTextOf("HTTP/1.1 200 OK\r\nServer: x\r\n\r\n"), "200 OK");
  EXPECT_EQ(StatusTextOf("HTTP/1.1 404 Not Found\r\n\r\n"), "404 Not Found");
  EXPECT_EQ(StatusTextOf("HTTP/1.0 302 Found"), "302 Found");
  EXPECT_EQ(StatusTextOf("HTTP/1.1"), "");
  EXPECT_EQ(StatusTextOf("HTTP/1.1 "), "");
  EXPECT_EQ(StatusTextOf(""), "");
}

struct Collected {
  std::string cookies;
  std::optional<std::string> location;
};

Collected Collect(const std::string& headers, std::string cookies = "") {
  Collected c{std::move(cookies), std::nullopt};
  ReadResponseHeaderLines(headers, c.cookies, c.location);
  return c;
}

TEST(HttpResponseHeaders, CollectsTheFirstPairOfEachSetCookieLine) {
  EXPECT_EQ(Collect("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n\r\n").cookies, "a=1; b=2");
  EXPECT_EQ(Collect("HTTP/1.1 200 OK\r\nset-cookie: a=1\r\nSET-COOKIE: b=2\r\n\r\n").cookies, "");
  EXPECT_EQ(Collect("Set-Cookie: x\r\nSet-Cookie: ;\r\nSet-Cookie:  v=1 ;\r\n").cookies, "x; ; v=1");
  EXPECT_EQ(Collect("Set-Cookie: Set-Cookie: q=1\r\n").cookies, "q=1");
  EXPECT_EQ(Collect("HTTP/1.1 200 OK\r\n\r\n", "xy; ").cookies, "xy");  // the last two bytes always go
  EXPECT_EQ(Collect("HTTP/1.1 200 OK\r\n\r\n", "z").cookies, "");
  EXPECT_EQ(Collect("Set-Cookie: c=3\r\n", "old=1; ").cookies, "old=1; c=3");
}

TEST(HttpResponseHeaders, LocationIsFoundInAnyCase) {
  EXPECT_EQ(Collect("HTTP/1.1 302 Found\r\nlocation: /x\r\n\r\n").location, "/x");
  EXPECT_EQ(Collect("HTTP/1.1 302 Found\r\nLOCATION: http://h/a?b\r\n\r\n").location, "http://h/a?b");
  EXPECT_EQ(Collect("HTTP/1.1 302 Found\r\nLocation:/x\r\nX-Location: /y\r\n\r\n").location, std::nullopt);
  EXPECT_EQ(Collect("Location: /a\r\nLocation: /b\r\n").location, "/b");
}

TEST(Cookies, MergeKeepsTheServersValueAndDropsDeletedOnes) {
  EXPECT_EQ(MergeCookies("a=1; b=2", "b=3; c=deleted"), "b=3; a=1");
  EXPECT_EQ(MergeCookies("", "x=1; y=2"), "x=1; y=2");
  EXPECT_EQ(MergeCookies("x=1; y=2", ""), "x=1; y=2");
  EXPECT_EQ(MergeCookies(" a = 1 ;\xA1\xA1" "b=2", "a=9"), "a=9; b=2");
  EXPECT_EQ(MergeCookies("a=1; a=2", "b=1; b=1"), "b=1; a=1");
  EXPECT_EQ(MergeCookies("", ""), "");
}

TEST(Cookies, NamesItemsAndDuplicates) {
  EXPECT_EQ(CookieName(" sid = abc=def"), "sid");
  EXPECT_EQ(CookieName("flag"), "flag");
  EXPECT_TRUE(HasCookieName({"a=1", "b=2"}, "b"));
  EXPECT_EQ(FindItem({"a=1", "b=2", "b=2"}, "b=2"), 2);
  EXPECT_EQ(FindItem({"a=1"}, "a"), -1);
  EXPECT_EQ(RemoveDuplicateItems("a; b; a; c; b", "; "), "a; b; c");
}

TEST(PageCharset, OnlyTheFirstKilobyteIsSearched) {
  EXPECT_EQ(DeclaredCharset("<head><meta charset=\"utf-8\">"), "utf-8");
  EXPECT_EQ(DeclaredCharset("<meta content='text/html; charset=big5'>"), "big5");
  EXPECT_EQ(DeclaredCharset(std::string(1010, ' ') + "<meta charset=utf-8>"), "");  // cut off at 1024
  EXPECT_EQ(DeclaredCharset(std::string(990, ' ') + "<meta charset=utf-8>"), "utf-8");
  EXPECT_EQ(DeclaredCharset("plain text"), "");
}

TEST(PageCharset, GbkPagesAreTakenAsTheyCameAndNamesMapToCodePages) {
  EXPECT_FALSE(NeedsRedecoding(""));
  EXPECT_FALSE(NeedsRedecoding("gbk"));
  EXPECT_FALSE(NeedsRedecoding("gb2312"));
  EXPECT_TRUE(NeedsRedecoding("GBK"));
  EXPECT_EQ(CodePageForCharset("UTF-8"), 65001u);
  EXPECT_EQ(CodePageForCharset("Big5"), 950u);
  EXPECT_EQ(CodePageForCharset("utf-16"), kCodePageUtf16LE);
  EXPECT_EQ(CodePageForCharset("x-no-such-charset"), std::nullopt);
}

}  // namespace
