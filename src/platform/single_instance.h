#pragma once
// The named event that keeps a second copy of the program from running.
#include <string>

class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  // True when some process already holds the event of that name; only
  // looks, for a program that must not keep a copy from starting.
  virtual bool OtherInstanceHolds(const std::string& eventName) = 0;
  // Creates the event of that name and keeps it open until the process
  // ends. False when some process already holds it: then this copy must not
  // run. One step, so that two copies started together cannot both find the
  // name free.
  virtual bool Claim(const std::string& eventName) = 0;

  // A machine-wide lock around giving back the proxy settings a killed run
  // left: the logon's restore and a copy starting at the same logon take
  // turns, so neither undoes what the other has just set. Lock waits for
  // the other, at most a few seconds.
  virtual void LockRecovery() = 0;
  virtual void UnlockRecovery() = 0;
};
