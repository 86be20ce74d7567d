#include "fakes/fake_diag.h"

#include <algorithm>

bool FakeClipboard::WriteText(std::string_view t) {
  ++writes;
  if (writeFails) return false;
  text = t;
  return true;
}

namespace {

class ScriptedExchange : public HttpExchange {
 public:
  ScriptedExchange(ScriptedHttp& script, std::size_t record) : script_(script), index_(record) {}
  ~ScriptedExchange() override { Record().closed = true; }

  bool Open(HttpAccess access, const std::string& proxyName) override {
    Record().access = access;
    Record().proxyName = proxyName;
    return Step("Open");
  }
  bool Connect(const std::string& host, int port) override {
    Record().host = host;
    Record().port = port;
    return Step("Connect");
  }
  bool OpenRequest(const std::string& verb, const std::string& objectName, bool secure) override {
    Record().verb = verb;
    Record().objectName = objectName;
    Record().secure = secure;
    return Step("OpenRequest");
  }
  bool SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) override {
    Record().timeouts = {resolveMs, connectMs, sendMs, receiveMs};
    return Step("SetTimeouts");
  }
  bool SetCredentials(HttpAuthTarget target, const std::string& user, const std::string& password) override {
    Record().credentials.emplace_back(target, user + ":" + password);
    return Step("SetCredentials");
  }
  bool SetOption(std::uint32_t option, std::uint32_t value) override {
    Record().options.emplace_back(option, value);
    if (script_.failOptionValue && *script_.failOptionValue != value) {
      Record().steps.push_back("SetOption");
      return true;
    }
    return Step("SetOption");
  }
  bool AddRequestHeaders(const std::string& headers) override {
    Record().headers = headers;
    return Step("AddRequestHeaders");
  }
  bool SendRequest(std::string_view body) override {
    Record().sentBody = body;
    if (script_.whileSending) script_.whileSending();
    return Step("SendRequest");
  }
  bool ReceiveResponse() override { return Step("ReceiveResponse"); }
  std::optional<std::uint32_t> QueryDataAvailable() override {
    Record().steps.push_back("QueryDataAvailable");
    if (next_ >= script_.chunks.size() || PastEndlessCap()) return 0;
    if (script_.claimedSize) return *script_.claimedSize;
    return static_cast<std::uint32_t>(script_.chunks[next_].size() - offset_);
  }
  std::optional<std::size_t> ReadData(char* buffer, std::size_t size) override {
    Record().steps.push_back("ReadData");
    if (script_.failStep == "ReadData" && next_ == script_.failReadAt) return std::nullopt;
    if (next_ >= script_.chunks.size() || PastEndlessCap()) return 0;
    const std::string& chunk = script_.chunks[next_];
    const std::size_t n = std::min(size, chunk.size() - offset_);
    std::copy_n(chunk.data() + offset_, n, buffer);
    offset_ += n;
    if (offset_ == chunk.size()) {
      next_ = script_.endless && next_ + 1 == script_.chunks.size() ? 0 : next_ + 1;
      offset_ = 0;
    }
    return n;
  }
  std::optional<std::string> RawHeaders() override {
    Record().steps.push_back("RawHeaders");
    if (script_.headersFail) return std::nullopt;
    return script_.rawHeaders;
  }

 private:
  HttpExchangeRecord& Record() { return script_.exchanges[index_]; }
  bool Step(const std::string& name) {
    Record().steps.push_back(name);
    return script_.failStep != name;
  }

  ScriptedHttp& script_;
  std::size_t index_;
  // Endless, up to a cap on the calls: a reader that never stops fails its
  // test instead of hanging it.
  bool PastEndlessCap() { return script_.endless && ++calls_ > script_.endlessCalls; }

  std::size_t next_ = 0, offset_ = 0, calls_ = 0;
};

}  // namespace

std::optional<CrackedUrl> ScriptedHttp::CrackUrl(const std::string& url) {
  crackedUrls.push_back(url);
  CrackedUrl out;
  std::string rest;
  if (url.starts_with("http://")) {
    rest = url.substr(7);
    out.port = 80;
  } else if (url.starts_with("https://")) {
    rest = url.substr(8);
    out.port = 443;
    out.secure = true;
  } else {
    return std::nullopt;
  }
  const std::size_t pathAt = rest.find_first_of("/?");
  std::string authority = rest.substr(0, pathAt);
  std::string tail = pathAt == std::string::npos ? std::string() : rest.substr(pathAt);
  if (authority.empty()) return std::nullopt;
  if (const std::size_t colon = authority.find(':'); colon != std::string::npos) {
    out.port = std::stoi(authority.substr(colon + 1));
    authority.resize(colon);
  }
  out.host = authority;
  const std::size_t query = tail.find('?');
  out.path = tail.substr(0, query);
  if (query != std::string::npos) out.extraInfo = tail.substr(query);
  return out;
}

std::unique_ptr<HttpExchange> ScriptedHttp::NewExchange() {
  exchanges.emplace_back();
  return std::make_unique<ScriptedExchange>(*this, exchanges.size() - 1);
}

std::optional<std::string> FakeCharsetDecoder::Decode(std::string_view bytes, const std::string& charset) {
  calls.emplace_back(charset, std::string(bytes));
  auto it = known.find(charset);
  if (it == known.end()) return std::nullopt;
  return it->second;
}

int FakeIcmpEcho::PingHost(const std::string& address, int timeoutMs) {
  pings.emplace_back(address, timeoutMs);
  if (answers.empty()) return -1;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}
