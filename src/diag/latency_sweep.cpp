#include "diag/latency_sweep.h"

#include <algorithm>
#include <array>
#include <deque>
#include <optional>

#include "diag/name_resolver_pool.h"

namespace {

// How long one wait for connects or names lasts at most, so a stop is
// seen within a fraction of a second.
constexpr int kWaitSliceMs = 50;

std::optional<std::uint16_t> PortOf(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(port);
}

// An IPv6 address comes in brackets, as in a URL.
std::string HostOf(const std::string& address) {
  if (address.size() >= 2 && address.front() == '[' && address.back() == ']')
    return address.substr(1, address.size() - 2);
  return address;
}

// Literal addresses need no name server and are read on the worker itself.
bool IsLiteralAddress(const std::string& host) {
  if (host.find(':') != std::string::npos) return true;
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '.';
  });
}

class Sweep {
 public:
  Sweep(TcpConnects& tcp, const std::vector<SweepTarget>& targets, int timeoutMs,
        const std::atomic<bool>& stop, const std::function<void(std::vector<SweepResult>)>& deliver)
      : tcp_(tcp), targets_(targets), timeoutUs_(std::int64_t{timeoutMs} * 1000), stop_(stop),
        deliver_(deliver), names_(tcp), lastBatch_(tcp.NowMicros()) {}

  void Run() {
    while (!stop_ && finished_ < targets_.size()) {
      FillSlots();
      if (finished_ == targets_.size()) break;
      if (inFlight_ > 0)
        TakeEnded(tcp_.Wait(WaitMs()));
      else
        TakeNames(kWaitSliceMs);
      if (names_.Busy()) TakeNames(0);
      GiveUpLateConnects();
      if (tcp_.NowMicros() - lastBatch_ >= kBatchIntervalMs * 1000) Deliver();
    }
    for (std::size_t slot = 0; slot < slots_.size(); ++slot)
      if (slots_[slot].target >= 0) tcp_.Abandon(static_cast<int>(slot));
    Deliver();
  }

 private:
  struct Slot {
    int target = -1;  // -1: free
    std::int64_t startedUs = 0;
  };

  void FillSlots() {
    while (inFlight_ < kMaxConnectsInFlight) {
      if (!ready_.empty()) {
        auto [target, endpoint] = ready_.front();
        ready_.pop_front();
        Open(target, endpoint);
      } else if (next_ < targets_.size()) {
        Consider(static_cast<int>(next_++));
      } else {
        return;
      }
    }
  }

  void Consider(int target) {
    const SweepTarget& t = targets_[target];
    const std::optional<std::uint16_t> port = PortOf(t.port);
    const std::string host = HostOf(t.address);
    if (!port || host.empty()) return Finish(target, {LatencyKind::Failed, 0});
    if (!IsLiteralAddress(host)) return names_.Add(target, host, *port);
    if (auto endpoint = tcp_.Resolve(host, *port))
      Open(target, *endpoint);
    else
      Finish(target, {LatencyKind::Failed, 0});
  }

  void Open(int target, const TcpEndpoint& endpoint) {
    const auto free = std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.target < 0; });
    const int slot = static_cast<int>(free - slots_.begin());
    // Name resolution is not counted: the clock starts here.
    const std::int64_t started = tcp_.NowMicros();
    if (!tcp_.Open(slot, endpoint)) return Finish(target, {LatencyKind::Failed, 0});
    *free = {target, started};
    ++inFlight_;
  }

  void TakeEnded(const std::vector<ConnectEnded>& ended) {
    const std::int64_t now = tcp_.NowMicros();
    for (const ConnectEnded& end : ended) {
      if (end.slot < 0 || end.slot >= kMaxConnectsInFlight || slots_[end.slot].target < 0) continue;
      Slot& slot = slots_[end.slot];
      const int ms = static_cast<int>((now - slot.startedUs + 500) / 1000);
      Finish(slot.target, end.connected ? NodeLatency{LatencyKind::Measured, ms} : NodeLatency{LatencyKind::Failed, 0});
      slot.target = -1;
      --inFlight_;
    }
  }

  void TakeNames(int waitMs) {
    for (auto& [target, endpoint] : names_.TakeAnswers(waitMs)) {
      if (endpoint)
        ready_.push_back({target, *endpoint});
      else
        Finish(target, {LatencyKind::Failed, 0});
    }
  }

  void GiveUpLateConnects() {
    const std::int64_t now = tcp_.NowMicros();
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      Slot& slot = slots_[i];
      if (slot.target < 0 || now - slot.startedUs < timeoutUs_) continue;
      tcp_.Abandon(static_cast<int>(i));
      Finish(slot.target, {LatencyKind::TimedOut, 0});
      slot.target = -1;
      --inFlight_;
    }
  }

  // Until the first connect under way runs out of time, within one slice.
  int WaitMs() const {
    std::int64_t earliest = INT64_MAX;
    for (const Slot& slot : slots_)
      if (slot.target >= 0) earliest = std::min(earliest, slot.startedUs + timeoutUs_);
    const std::int64_t left = (earliest - tcp_.NowMicros() + 999) / 1000;
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, kWaitSliceMs));
  }

  void Finish(int target, NodeLatency latency) {
    batch_.push_back({targets_[target].node, latency});
    ++finished_;
  }

  void Deliver() {
    lastBatch_ = tcp_.NowMicros();
    if (batch_.empty() || stop_) return;
    deliver_(std::move(batch_));
    batch_.clear();
  }

  TcpConnects& tcp_;
  const std::vector<SweepTarget>& targets_;
  const std::int64_t timeoutUs_;
  const std::atomic<bool>& stop_;
  const std::function<void(std::vector<SweepResult>)>& deliver_;
  NameResolverPool names_;
  std::array<Slot, kMaxConnectsInFlight> slots_{};
  int inFlight_ = 0;
  std::deque<std::pair<int, TcpEndpoint>> ready_;
  std::size_t next_ = 0;
  std::size_t finished_ = 0;
  std::vector<SweepResult> batch_;
  std::int64_t lastBatch_;
};

}  // namespace

void RunLatencySweep(TcpConnects& tcp, const std::vector<SweepTarget>& targets, int timeoutMs,
                     const std::atomic<bool>& stop,
                     const std::function<void(std::vector<SweepResult>)>& deliver) {
  Sweep(tcp, targets, timeoutMs, stop, deliver).Run();
}
