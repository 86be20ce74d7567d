#include <gtest/gtest.h>

#include <string>

#include "system/pac_http.h"

namespace {

class PacHttpTest : public testing::Test {
 protected:
  // A request from a client that names the server as it should.
  std::string Get(std::string_view target, std::string_view method = "GET") {
    return Answer(std::string(method) + " " + std::string(target) + " HTTP/1.1\r\nHost: 127.0.0.1:50123\r\n\r\n");
  }
  std::string Answer(std::string_view request) {
    return PacHttpResponse(request, serving, [this] {
      ++reads;
      return pac;
    });
  }
  static std::string Status(const std::string& response) { return response.substr(0, response.find("\r\n")); }

  PacServing serving{"00112233445566778899aabbccddeeff", 50123};
  FileContent pac{ReadStatus::Ok, "function FindProxyForURL(u, h) { return \"DIRECT\"; }", {}};
  int reads = 0;
};

TEST_F(PacHttpTest, AGetOfThePacAddressGivesTheFileAsAProxyScript) {
  const std::string response =
      Answer("GET /00112233445566778899aabbccddeeff/pac?t=7 HTTP/1.1\r\nHost: 127.0.0.1:50123\r\nAccept: */*\r\n\r\n");
  EXPECT_EQ(response,
            "HTTP/1.1 200 OK\r\n"
            "Content-Type: application/x-ns-proxy-autoconfig; charset=utf-8\r\n"
            "Content-Length: 51\r\n"
            "Cache-Control: no-store\r\n"
            "X-Content-Type-Options: nosniff\r\n"
            "Connection: close\r\n"
            "\r\n"
            "function FindProxyForURL(u, h) { return \"DIRECT\"; }");
  // Without a query, from a client that ends lines with LF only and names
  // the server localhost.
  EXPECT_EQ(Status(Answer("GET /00112233445566778899aabbccddeeff/pac HTTP/1.0\nhost:  LocalHost:50123 \n\n")),
            "HTTP/1.1 200 OK");
  EXPECT_EQ(reads, 2);
}

TEST_F(PacHttpTest, OnlyAScriptIsServedAndItsCharsetIsNamed) {
  // Empty, or an error page: a browser would take it as "go direct".
  for (const char* notAScript : {"", "<html>portal</html>", "function findProxyForUrl() {}"}) {
    pac.bytes = notAScript;
    EXPECT_EQ(Status(Get("/00112233445566778899aabbccddeeff/pac?t=1")), "HTTP/1.1 404 Not Found") << notAScript;
  }
  const std::string script = "function FindProxyForURL(u, h) { return \"DIRECT\"; } // ";
  const struct {
    std::string comment;
    const char* charset;
  } scripts[] = {{"\xE4\xBB\xA3\xE7\x90\x86", "utf-8"},  // 代理 in UTF-8
                 {"\xB4\xFA\xC0\xED", "gbk"},             // 代理 in GBK
                 {"\xE4\xBB", "gbk"}};                      // UTF-8 cut short
  for (const auto& [comment, charset] : scripts) {
    pac.bytes = script + comment;
    EXPECT_NE(Get("/00112233445566778899aabbccddeeff/pac").find(
                  std::string("\r\nContent-Type: application/x-ns-proxy-autoconfig; charset=") + charset + "\r\n"),
              std::string::npos) << charset;
  }
}

TEST_F(PacHttpTest, NoPacFileIsNotFoundAndAnUnreadableOneIsUnavailable) {
  pac = {ReadStatus::Missing, {}, {}};
  EXPECT_EQ(Status(Get("/00112233445566778899aabbccddeeff/pac?t=1")), "HTTP/1.1 404 Not Found");
  pac = {ReadStatus::Failed, {}, {}};
  EXPECT_EQ(Status(Get("/00112233445566778899aabbccddeeff/pac?t=1")), "HTTP/1.1 503 Service Unavailable");
}

TEST_F(PacHttpTest, OnlyGetOfTheSecretAddressIsServed) {
  for (const char* method : {"POST", "HEAD", "PUT", "get"}) {
    const std::string response = Get("/00112233445566778899aabbccddeeff/pac", method);
    EXPECT_EQ(Status(response), "HTTP/1.1 405 Method Not Allowed") << method;
    EXPECT_NE(response.find("\r\nAllow: GET\r\n"), std::string::npos) << method;
  }
  for (const char* target : {"/", "/pac", "/pac?t=1", "/00112233445566778899aabbccddeeff/pac/", "/00112233445566778899aabbccddeef/pac",
                             "/00112233445566778899AABBCCDDEEFF/pac", "//pac", "/config.ini", "/../pac"}) {
    const std::string response = Get(target);
    EXPECT_EQ(Status(response), "HTTP/1.1 404 Not Found") << target;
    EXPECT_NE(response.find("\r\nX-Content-Type-Options: nosniff\r\n"), std::string::npos) << target;
  }
  serving.token.clear();  // no secret drawn: nothing is served
  EXPECT_EQ(Status(Get("//pac")), "HTTP/1.1 404 Not Found");
  for (const char* garbage : {"", "GET", "GET /pac", "\x16\x03\x01\x02\x00", "GET /pac FTP/1.0\r\n\r\n"})
    EXPECT_EQ(Status(Answer(garbage)), "HTTP/1.1 400 Bad Request") << garbage;
  EXPECT_EQ(reads, 0);
}

TEST_F(PacHttpTest, ARequestNamingAnotherServerGetsNoScript) {
  const std::string target = "GET /00112233445566778899aabbccddeeff/pac HTTP/1.1\r\n";
  for (const char* host : {"", "Host: evil.example\r\n", "Host: evil.example:50123\r\n", "Host: 127.0.0.1\r\n",
                           "Host: 127.0.0.1:50124\r\n", "Host: localhost.evil.example:50123\r\n",
                           "Host: 127.0.0.1:50123\r\nHost: evil.example\r\n", "X-Host: 127.0.0.1:50123\r\n"})
    EXPECT_EQ(Status(Answer(target + host + "\r\n")), "HTTP/1.1 403 Forbidden") << host;
  EXPECT_EQ(reads, 0);
}

}  // namespace
