#pragma once
// The named event that keeps a second copy of the program from running.
#include <string>

class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  // True when some process already holds the event of that name.
  virtual bool OtherInstanceHolds(const std::string& eventName) = 0;
  // Creates the event and keeps it open until the process ends.
  virtual void Claim(const std::string& eventName) = 0;
};
