#pragma once
// The named event that keeps a second copy of the program from running.
#include <string>

class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  // Creates the event of that name and keeps it open until the process
  // ends. False when some process already holds it: then this copy must not
  // run. One step, so that two copies started together cannot both find the
  // name free.
  virtual bool Claim(const std::string& eventName) = 0;
};
