#pragma once
// The system's millisecond tick count (GetTickCount); it wraps after about
// 49.7 days, so only differences of two readings mean anything.
#include <cstdint>

class TickClock {
 public:
  virtual ~TickClock() = default;
  virtual std::uint32_t TickCount() = 0;
};
