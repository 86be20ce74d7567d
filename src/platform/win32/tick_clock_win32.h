#pragma once
// GetTickCount.
#include "platform/tick_clock.h"

class Win32TickClock final : public TickClock {
 public:
  std::uint32_t TickCount() override;
};
