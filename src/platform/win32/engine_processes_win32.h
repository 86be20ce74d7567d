#pragma once
// The engine launched hidden inside a job object that ends it together with
// this program, its output read from a pipe into the log file, and its end
// reported by the system's thread pool, which waits on the process handle.
#include <memory>

#include "platform/engine_processes.h"

struct Win32EngineWatch;
class Win32EngineLog;

class Win32EngineProcesses final : public EngineProcesses {
 public:
  Win32EngineProcesses();
  // Closing the job ends an engine still in it.
  ~Win32EngineProcesses() override;
  Win32EngineProcesses(const Win32EngineProcesses&) = delete;
  Win32EngineProcesses& operator=(const Win32EngineProcesses&) = delete;

  bool LaunchEngine(const EngineLaunch& launch) override;
  bool EngineRunning() override;
  bool EndEngine() override;
  std::string LastOutputLine() override;

 private:
  void* EngineJob();
  // Made at the first launch and held until this program ends: when the
  // last handle closes, also by a crash, the system ends every process in it.
  void* job_ = nullptr;
  // The engine launched last; kept after its end for what it printed.
  std::unique_ptr<Win32EngineWatch> watch_;
  // Shared with the threads reading the pipes: a process the engine started
  // may print on after the engine itself has gone.
  std::shared_ptr<Win32EngineLog> log_;
};
