#pragma once
// Host names resolved on a few threads of their own, so a slow name server
// holds up neither the connects under way nor the end of a test. The
// threads are left to finish by themselves: a name lookup cannot be cut
// short, and the test that asked has moved on.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/tcp_connects.h"

inline constexpr int kMaxResolverThreads = 4;

class NameResolverPool {
 public:
  explicit NameResolverPool(TcpConnects& tcp);
  ~NameResolverPool();  // threads still busy drop their answers
  NameResolverPool(const NameResolverPool&) = delete;
  NameResolverPool& operator=(const NameResolverPool&) = delete;

  void Add(int index, std::string host, std::uint16_t port);
  // Answers in, index and endpoint (none: the name does not resolve); waits
  // up to `waitMs` when none is in yet.
  std::vector<std::pair<int, std::optional<TcpEndpoint>>> TakeAnswers(int waitMs);
  bool Busy() const;  // names asked whose answers were not taken yet

 private:
  struct Question {
    int index;
    std::string host;
    std::uint16_t port;
  };
  struct Shared {
    std::mutex mutex;
    std::condition_variable answered;
    std::deque<Question> questions;
    std::vector<std::pair<int, std::optional<TcpEndpoint>>> answers;
    int threads = 0;
    bool closed = false;
  };
  static void Serve(std::shared_ptr<Shared> shared, TcpConnects* tcp);

  TcpConnects& tcp_;
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
  int asked_ = 0;
  int taken_ = 0;
};
