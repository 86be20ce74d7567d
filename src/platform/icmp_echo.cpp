#include "platform/icmp_echo.h"

#include <climits>

int RoundTripOfReply(std::uint32_t replies, std::uint32_t status, std::uint32_t roundTripMs) {
  constexpr std::uint32_t kSuccess = 0;  // IP_SUCCESS
  if (replies == 0 || status != kSuccess) return -1;
  return roundTripMs > INT_MAX ? INT_MAX : static_cast<int>(roundTripMs);
}
