#pragma once
// Fakes of the share-link and diagnostics services: a clipboard in memory,
// WinHTTP answering from a script and recording what the client asked for,
// a charset decoder, ICMP echo answers, a hand-moved tick count.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_system_services.h"
#include "fakes/fake_tcp_connects.h"
#include "platform/diag_services.h"

class FakeClipboard : public Clipboard {
 public:
  std::string text;
  bool writeFails = false;
  int writes = 0;
  // Plain clipboard text ends at its first NUL, as CF_TEXT does.
  std::string ReadText() override { return text.substr(0, text.find('\0')); }
  bool WriteText(std::string_view t) override;
};

// What one request looked like from WinHTTP's side.
struct HttpExchangeRecord {
  HttpAccess access{};
  std::string proxyName;
  std::string host;
  int port = 0;
  std::string verb, objectName;
  bool secure = false;
  std::vector<int> timeouts;
  std::vector<std::pair<HttpAuthTarget, std::string>> credentials;  // "user:password"
  std::vector<std::pair<std::uint32_t, std::uint32_t>> options;
  std::string headers;
  std::string sentBody;
  std::vector<std::string> steps;  // every call, in order
  bool closed = false;             // the exchange (all its handles) was destroyed
};

class ScriptedHttp : public HttpTransport {
 public:
  // The answer.
  std::string rawHeaders = "HTTP/1.1 200 OK\r\n\r\n";
  std::vector<std::string> chunks;  // one per QueryDataAvailable
  bool endless = false;             // the chunks start over after the last one, for ever
  std::size_t endlessCalls = 100000;  // ... or nearly: it ends after this many reads
  std::optional<std::uint32_t> claimedSize;  // reported instead of the chunk's own size
  // Which call fails: "Open", "Connect", "OpenRequest", "SetTimeouts",
  // "SetCredentials", "SetOption", "AddRequestHeaders", "SendRequest",
  // "ReceiveResponse", "ReadData"; empty for none.
  std::string failStep;
  bool headersFail = false;  // RawHeaders answers nothing
  std::optional<std::uint32_t> failOptionValue;  // with "SetOption": only this value fails
  std::size_t failReadAt = 0;                     // with "ReadData": the chunk whose read fails
  bool platformSupported = true;
  std::function<void()> whileSending;  // e.g. moves the tick count on

  // Recorded.
  std::vector<std::string> crackedUrls;
  std::vector<HttpExchangeRecord> exchanges;
  const HttpExchangeRecord& Last() const { return exchanges.back(); }

  bool PlatformSupported() override { return platformSupported; }
  // http(s)://host[:port][/path][?query]; nothing for anything else.
  std::optional<CrackedUrl> CrackUrl(const std::string& url) override;
  std::unique_ptr<HttpExchange> NewExchange() override;
};

class FakeCharsetDecoder : public CharsetDecoder {
 public:
  std::map<std::string, std::string> known;  // charset name (exact) -> decoded text
  std::vector<std::pair<std::string, std::string>> calls;  // (charset, bytes)
  std::optional<std::string> Decode(std::string_view bytes, const std::string& charset) override;
};

class FakeIcmpEcho : public IcmpEcho {
 public:
  std::deque<int> answers;  // one per ping; -1 once they run out
  std::vector<std::pair<std::string, int>> pings;  // (address, time-out)
  int PingHost(const std::string& address, int timeoutMs) override;
};

class FakeTickClock : public TickClock {
 public:
  std::uint32_t now = 1000;
  std::uint32_t TickCount() override { return now; }
};

struct FakeDiag {
  FakeClipboard clipboard;
  ScriptedHttp http;
  FakeCharsetDecoder charsets;
  FakeIcmpEcho icmp;
  FakeTickClock clock;
  FakeWorkerThreads workers;
  FakeTcpConnects tcp;
  DiagServices services{clipboard, http, charsets, icmp, clock, workers, tcp};
};
