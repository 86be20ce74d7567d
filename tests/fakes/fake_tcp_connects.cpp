#include "fakes/fake_tcp_connects.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

TcpEndpoint EndpointOf(const std::string& key) {
  TcpEndpoint endpoint;
  endpoint.length = static_cast<int>(std::min(key.size(), endpoint.bytes.size()));
  std::memcpy(endpoint.bytes.data(), key.data(), static_cast<std::size_t>(endpoint.length));
  return endpoint;
}

std::string KeyOf(const TcpEndpoint& endpoint) {
  return std::string(reinterpret_cast<const char*>(endpoint.bytes.data()), static_cast<std::size_t>(endpoint.length));
}

}  // namespace

std::optional<TcpEndpoint> FakeTcpConnects::Resolve(const std::string& host, std::uint16_t port) {
  std::lock_guard lock(mutex_);
  std::string address = host;
  if (const auto name = names.find(host); name != names.end())
    address = name->second;
  else if (host.find_first_not_of("0123456789.:") != std::string::npos)
    return std::nullopt;
  return EndpointOf(address + ":" + std::to_string(port));
}

bool FakeTcpConnects::Open(int slot, const TcpEndpoint& to) {
  std::lock_guard lock(mutex_);
  if (inFlight_.count(slot)) throw std::logic_error("slot opened twice");
  ++opened;
  const auto peer = peers.find(KeyOf(to));
  const Peer p = peer == peers.end() ? Peer{} : peer->second;
  const std::int64_t ends = p.answer == Answer::Silent ? INT64_MAX : nowUs + std::int64_t{p.afterMs} * 1000;
  inFlight_[slot] = {ends, p.answer == Answer::Accepts};
  maxInFlight = std::max(maxInFlight, static_cast<int>(inFlight_.size()));
  return true;
}

std::vector<ConnectEnded> FakeTcpConnects::Wait(int waitMs) {
  if (onWait) onWait();
  std::lock_guard lock(mutex_);
  std::int64_t until = nowUs + std::int64_t{waitMs} * 1000;
  for (const auto& [slot, connect] : inFlight_) until = std::min(until, connect.endsUs);
  nowUs = std::max(nowUs, until);
  std::vector<ConnectEnded> ended;
  for (auto it = inFlight_.begin(); it != inFlight_.end();) {
    if (it->second.endsUs <= nowUs) {
      ended.push_back({it->first, it->second.connected});
      it = inFlight_.erase(it);
    } else {
      ++it;
    }
  }
  return ended;
}

void FakeTcpConnects::Abandon(int slot) {
  std::lock_guard lock(mutex_);
  inFlight_.erase(slot);
}
