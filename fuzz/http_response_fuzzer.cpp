// A hostile server's answer through HttpRequest: the input is the raw
// header block up to the first empty line, then the body. The first byte
// chooses whether cookies were sent (and merged) and how the body arrives.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "diag/http_request.h"
#include "platform/charset_decoder.h"
#include "platform/http_transport.h"

namespace {

struct Answer {
  std::string headers, body;
  std::size_t piece = 0;  // bytes per QueryDataAvailable; 0: all at once
};

class FuzzExchange : public HttpExchange {
 public:
  explicit FuzzExchange(const Answer& a) : answer_(a) {}
  bool Open(HttpAccess, const std::string&) override { return true; }
  bool Connect(const std::string&, int) override { return true; }
  bool OpenRequest(const std::string&, const std::string&, bool) override { return true; }
  bool SetTimeouts(int, int, int, int) override { return true; }
  bool SetCredentials(HttpAuthTarget, const std::string&, const std::string&) override { return true; }
  bool SetOption(std::uint32_t, std::uint32_t) override { return true; }
  bool AddRequestHeaders(const std::string&) override { return true; }
  bool SendRequest(std::string_view) override { return true; }
  bool ReceiveResponse() override { return true; }
  std::optional<std::uint32_t> QueryDataAvailable() override {
    const std::size_t left = answer_.body.size() - offset_;
    return static_cast<std::uint32_t>(answer_.piece ? std::min(left, answer_.piece) : left);
  }
  std::optional<std::size_t> ReadData(char* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, answer_.body.size() - offset_);
    std::copy_n(answer_.body.data() + offset_, n, buffer);
    offset_ += n;
    return n;
  }
  std::optional<std::string> RawHeaders() override { return answer_.headers.substr(0, answer_.headers.find('\0')); }

 private:
  const Answer& answer_;
  std::size_t offset_ = 0;
};

class FuzzTransport : public HttpTransport {
 public:
  explicit FuzzTransport(const Answer& a) : answer_(a) {}
  bool PlatformSupported() override { return true; }
  std::optional<CrackedUrl> CrackUrl(const std::string&) override { return CrackedUrl{"h", 80, "/", "", false}; }
  std::unique_ptr<HttpExchange> NewExchange() override { return std::make_unique<FuzzExchange>(answer_); }

 private:
  const Answer& answer_;
};

// Knows UTF-8 only, and hands its bytes back as they are.
class Utf8Only : public CharsetDecoder {
 public:
  std::optional<std::string> Decode(std::string_view bytes, const std::string& charset) override {
    if (charset != "utf-8") return std::nullopt;
    return std::string(bytes);
  }
};

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t end = input.find("\r\n\r\n");
  Answer answer;
  answer.headers = end == std::string::npos ? input : input.substr(0, end + 4);
  answer.body = end == std::string::npos ? std::string() : input.substr(end + 4);
  answer.piece = flags & 4 ? 7 : 0;

  FuzzTransport http(answer);
  Utf8Only charsets;
  std::string cookies = "x=1; ", headers, location, status, body;
  HttpRequestOptions o;
  if (flags & 1) o.sendCookies = answer.body.substr(0, std::min<std::size_t>(answer.body.find('\n'), 64));
  o.mergeCookies = flags & 2;
  o.receivedCookies = &cookies;
  o.responseHeaders = &headers;
  o.redirectLocation = &location;
  o.statusText = &status;
  o.responseBody = &body;
  const std::string text = HttpRequest(http, charsets, "http://h/", o);

  Require(body == answer.body, "every body byte handed back");
  Require(headers == answer.headers.substr(0, answer.headers.find('\0')), "the header block handed back");
  Require(text.size() <= body.size() && text.find('\0') == std::string::npos, "the text ends at a NUL");
  Require(status.size() <= headers.size(), "the status comes from the headers");
  return 0;
}
