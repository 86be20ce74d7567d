#pragma once
// The program's HTTP(S) client: one blocking request over WinHTTP whose
// result is the response body as text. Failures never throw; they leave
// the result empty and a numbered message (700 to 713) in `statusText`.
//
// The options follow the request's parameters in order. A parameter left
// at its default counts as omitted; only the cookies to send need a way to
// say "not given" apart from "given empty", so they are optional.
#include <climits>
#include <cstddef>
#include <optional>
#include <string>

class HttpTransport;
class CharsetDecoder;

// A page is rarely more than a few megabytes; the body read stops there, so
// an endless answer cannot take all memory.
inline constexpr std::size_t kHttpBodyLimit = 16u << 20;
// Seconds that still give milliseconds in an int.
inline constexpr int kLongestHttpTimeoutSeconds = INT_MAX / 1000;

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
  int timeoutSeconds = 0;                   // 0 or below: 30 seconds; at most kLongestHttpTimeoutSeconds
  std::size_t bodyLimit = kHttpBodyLimit;   // reading stops here; the answer is judged on what came
  std::string* redirectLocation = nullptr;  // out: untouched when there is no Location
  std::string* statusText = nullptr;        // out: "200 OK", or the failure's message
  std::string* responseBody = nullptr;      // out: every byte received
  bool mergeCookies = true;                 // merge the sent cookies into the received
};

std::string HttpRequest(HttpTransport& http, CharsetDecoder& charsets, const std::string& url,
                        const HttpRequestOptions& options = {});
