#pragma once
// The running processes from a Toolhelp snapshot.
#include "platform/process_list.h"

class Win32ProcessList final : public ProcessList {
 public:
  std::vector<ProcessEntry> Snapshot() override;
};
