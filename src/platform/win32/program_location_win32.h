#pragma once
// Where the running executable is, from GetModuleFileNameA.
#include "platform/program_location.h"

class Win32ProgramLocation final : public ProgramLocation {
 public:
  std::string ProgramDirectory() override;
  std::string ExecutableName() override;
};
