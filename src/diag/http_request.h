#pragma once
// The program's HTTP(S) client: one blocking request over WinHTTP whose
// result is the response body as text. Failures never throw; they leave
// the result empty and a numbered message (700 to 713) in `statusText`.
//
// The options follow the request's parameters in order. A parameter left
// at its default counts as omitted; only the cookies to send need a way to
// say "not given" apart from "given empty", so they are optional.
#include <optional>
#include <string>

class HttpTransport;
class CharsetDecoder;

struct HttpRequestOptions {
  int method = 0;                          // see MethodVerb
  std::string postData;                    // sent unchanged
  std::optional<std::string> sendCookies;  // given at all: WinHTTP's cookies stay on
  std::string* receivedCookies = nullptr;  // in/out: the server's cookies are appended
  std::string extraHeaders;                // the caller's lines, CR LF separated
  std::string* responseHeaders = nullptr;  // out: the raw header block
  bool noRedirect = false;
  std::string serverUser, serverPassword;  // Basic credentials when both are given
  std::string proxy;                       // host:port; empty: a direct connection
  std::string proxyUser, proxyPassword;
  int timeoutSeconds = 0;                   // 0 or below: 30 seconds
  std::string* redirectLocation = nullptr;  // out: untouched when there is no Location
  std::string* statusText = nullptr;        // out: "200 OK", or the failure's message
  std::string* responseBody = nullptr;      // out: every byte received
  bool mergeCookies = true;                 // merge the sent cookies into the received
};

std::string HttpRequest(HttpTransport& http, CharsetDecoder& charsets, const std::string& url,
                        const HttpRequestOptions& options = {});
