#pragma once
// The engine's process: launched hidden, and ended from outside. Finding it
// by name goes through the process list.
#include <cstdint>
#include <string>

class EngineProcesses {
 public:
  virtual ~EngineProcesses() = default;
  // Starts the command line with its window hidden and does not wait for
  // it. The process lives in a job that ends it when this program ends, even
  // by a crash, so no orphan engine outlives its manager. False when the
  // process could not be created.
  virtual bool LaunchEngine(const std::string& commandLine) = 0;
  // Ends the process with exit code 0; true when it was ended.
  virtual bool Terminate(std::uint32_t processId) = 0;
};
