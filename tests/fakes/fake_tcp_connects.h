#pragma once
// Connects in memory on a clock of their own: each address answers, refuses
// or stays silent after the time the test gives it; Wait moves the clock to
// the next end, as a real wait returns when a connect ends.
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "platform/tcp_connects.h"

class FakeTcpConnects : public TcpConnects {
 public:
  enum class Answer { Accepts, Refuses, Silent };
  struct Peer {
    Answer answer = Answer::Refuses;
    int afterMs = 1;
  };
  // Keyed "host:port" with the host as resolved; unknown peers refuse.
  std::map<std::string, Peer> peers;
  // Host names and the literal address each resolves to; others fail.
  std::map<std::string, std::string> names;

  std::optional<TcpEndpoint> Resolve(const std::string& host, std::uint16_t port) override;
  bool Open(int slot, const TcpEndpoint& to) override;
  std::vector<ConnectEnded> Wait(int waitMs) override;
  void Abandon(int slot) override;
  std::int64_t NowMicros() override { return nowUs; }

  // Runs at each wait, on the worker: what the user does meanwhile.
  std::function<void()> onWait;

  std::int64_t nowUs = 5'000'000;
  int maxInFlight = 0;
  int opened = 0;

 private:
  struct Connect {
    std::int64_t endsUs;
    bool connected;
  };
  std::mutex mutex_;
  std::map<int, Connect> inFlight_;
};
