#include <gtest/gtest.h>

#include <string>

#include "system/pac_http.h"

namespace {

class PacHttpTest : public testing::Test {
 protected:
  std::string Answer(std::string_view request) {
    return PacHttpResponse(request, [this] {
      ++reads;
      return pac;
    });
  }
  static std::string Status(const std::string& response) { return response.substr(0, response.find("\r\n")); }

  FileContent pac{ReadStatus::Ok, "function FindProxyForURL(u, h) { return \"DIRECT\"; }", {}};
  int reads = 0;
};

TEST_F(PacHttpTest, AGetOfThePacAddressGivesTheFileAsAProxyScript) {
  const std::string response = Answer("GET /pac?t=7 HTTP/1.1\r\nHost: 127.0.0.1:50123\r\nAccept: */*\r\n\r\n");
  EXPECT_EQ(response,
            "HTTP/1.1 200 OK\r\n"
            "Content-Type: application/x-ns-proxy-autoconfig\r\n"
            "Content-Length: 51\r\n"
            "Cache-Control: no-store\r\n"
            "Connection: close\r\n"
            "\r\n"
            "function FindProxyForURL(u, h) { return \"DIRECT\"; }");
  // Without a query, and from a client that ends lines with LF only.
  EXPECT_EQ(Status(Answer("GET /pac HTTP/1.0\n\n")), "HTTP/1.1 200 OK");
  EXPECT_EQ(reads, 2);
}

TEST_F(PacHttpTest, AnEmptyPacFileIsStillAScript) {
  pac.bytes.clear();
  const std::string response = Answer("GET /pac?t=1 HTTP/1.1\r\n\r\n");
  EXPECT_EQ(Status(response), "HTTP/1.1 200 OK");
  EXPECT_NE(response.find("Content-Length: 0\r\n"), std::string::npos);
}

TEST_F(PacHttpTest, NoPacFileIsNotFoundAndAnUnreadableOneIsUnavailable) {
  pac = {ReadStatus::Missing, {}, {}};
  EXPECT_EQ(Status(Answer("GET /pac?t=1 HTTP/1.1\r\n\r\n")), "HTTP/1.1 404 Not Found");
  pac = {ReadStatus::Failed, {}, {}};
  EXPECT_EQ(Status(Answer("GET /pac?t=1 HTTP/1.1\r\n\r\n")), "HTTP/1.1 503 Service Unavailable");
}

TEST_F(PacHttpTest, OnlyGetOfPacIsServed) {
  for (const char* method : {"POST", "HEAD", "PUT", "get"}) {
    const std::string response = Answer(std::string(method) + " /pac HTTP/1.1\r\n\r\n");
    EXPECT_EQ(Status(response), "HTTP/1.1 405 Method Not Allowed") << method;
    EXPECT_NE(response.find("\r\nAllow: GET\r\n"), std::string::npos) << method;
  }
  for (const char* target : {"/", "/pac/", "/pacx", "/PAC", "/config.ini", "/../pac"})
    EXPECT_EQ(Status(Answer(std::string("GET ") + target + " HTTP/1.1\r\n\r\n")), "HTTP/1.1 404 Not Found")
        << target;
  for (const char* garbage : {"", "GET", "GET /pac", "\x16\x03\x01\x02\x00", "GET /pac FTP/1.0\r\n\r\n"})
    EXPECT_EQ(Status(Answer(garbage)), "HTTP/1.1 400 Bad Request") << garbage;
  EXPECT_EQ(reads, 0);
}

}  // namespace
