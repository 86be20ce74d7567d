#pragma once
// The single-instance test on a named event, and the recovery lock on a
// named mutex.
#include "platform/single_instance.h"

class Win32SingleInstance final : public SingleInstance {
 public:
  bool OtherInstanceHolds(const std::string& eventName) override;
  bool Claim(const std::string& eventName) override;
  void LockRecovery() override;
  void UnlockRecovery() override;

 private:
  // Never closed: the event must exist for as long as this process runs,
  // and ends with it.
  void* event_ = nullptr;
  void* recovery_ = nullptr;  // the lock's mutex while held
};
