#include "engine/restart_budget.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t kWindowMilliseconds = 60000;
constexpr std::array<unsigned, 3> kDelays = {0, 1000, 2000};

}  // namespace

std::optional<unsigned> NextRestartDelay(std::vector<std::uint32_t>& restarts, std::uint32_t now) {
  // Tick counts wrap: only the difference of two readings counts.
  std::erase_if(restarts, [&](std::uint32_t at) { return now - at >= kWindowMilliseconds; });
  if (restarts.size() >= kDelays.size()) return std::nullopt;
  const unsigned delay = kDelays[restarts.size()];
  restarts.push_back(now);
  return delay;
}
