#pragma once
// The wait after the engine's launch, handling the window's messages.
#include "platform/responsive_wait.h"

class Win32ResponsiveWait final : public ResponsiveWait {
 public:
  bool Wait(unsigned milliseconds) override;
};
