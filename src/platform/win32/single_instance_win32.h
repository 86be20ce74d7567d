#pragma once
// The single-instance test on a named event.
#include "platform/single_instance.h"

class Win32SingleInstance final : public SingleInstance {
 public:
  bool Claim(const std::string& eventName) override;

 private:
  // Never closed: the event must exist for as long as this process runs,
  // and ends with it.
  void* event_ = nullptr;
};
