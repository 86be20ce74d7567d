#pragma once
// The engine launched hidden inside a job object that ends it together with
// this program, and processes ended by id.
#include "platform/engine_processes.h"

class Win32EngineProcesses final : public EngineProcesses {
 public:
  Win32EngineProcesses() = default;
  // Closing the job ends an engine still in it.
  ~Win32EngineProcesses() override;
  Win32EngineProcesses(const Win32EngineProcesses&) = delete;
  Win32EngineProcesses& operator=(const Win32EngineProcesses&) = delete;

  bool LaunchEngine(const std::string& commandLine) override;
  bool Terminate(std::uint32_t processId) override;

 private:
  void* EngineJob();
  // Made at the first launch and held until this program ends: when the
  // last handle closes, also by a crash, the system ends every process in it.
  void* job_ = nullptr;
};
