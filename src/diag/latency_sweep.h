#pragma once
// The TCP connect time of many nodes, measured on one worker thread: at
// most 32 connects under way at once on non-blocking sockets, host names
// resolved on a few threads beside it, results handed over in batches.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "context/node_table.h"
#include "platform/tcp_connects.h"

inline constexpr int kMaxConnectsInFlight = 32;
// Batches at most this often, so the list is redrawn a few times a second.
inline constexpr int kBatchIntervalMs = 250;

struct SweepTarget {
  std::uint32_t node;  // the node's identity, not its row
  std::string address;  // IPv4, IPv6 in brackets, or a host name
  std::string port;
};

struct SweepResult {
  std::uint32_t node;
  NodeLatency latency;
};

// Until every target has its result or `stop` is set; then returns at once,
// giving up the connects under way. `deliver` runs on the calling thread;
// nothing is delivered once `stop` is set.
void RunLatencySweep(TcpConnects& tcp, const std::vector<SweepTarget>& targets, int timeoutMs,
                     const std::atomic<bool>& stop,
                     const std::function<void(std::vector<SweepResult>)>& deliver);
