#pragma once
// Where the running program is.
#include <string>

class ProgramLocation {
 public:
  virtual ~ProgramLocation() = default;
  // The folder of the executable, without a trailing "\".
  virtual std::string ProgramDirectory() = 0;
  // The executable's file name without a folder, e.g. "corvane.exe".
  virtual std::string ExecutableName() = 0;
};
