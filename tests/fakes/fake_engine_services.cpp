#include "fakes/fake_engine_services.h"

#include <algorithm>
#include <utility>

#include "fakes/fake_platform.h"

bool FakeEngineProcesses::LaunchEngine(const EngineLaunch& launch) {
  launched.push_back(launch.commandLine);
  logPaths.push_back(launch.logPath);
  engineId_ = 0;
  ended_ = nullptr;
  if (launchFails) return false;
  if (engineComesUp) {
    engineId_ = nextId_++;
    list_.processes.push_back({engineId_, "brook.exe", 1});
    ended_ = launch.ended;
  }
  return true;
}

bool FakeEngineProcesses::EngineRunning() {
  auto& processes = list_.processes;
  return engineId_ != 0 && std::any_of(processes.begin(), processes.end(),
                                       [&](const ProcessEntry& p) { return p.processId == engineId_; });
}

bool FakeEngineProcesses::EndEngine() {
  if (engineId_ == 0) return false;
  const bool running = EngineRunning();
  if (running) {
    terminated.push_back(engineId_);
    sequence_.push_back("terminate " + std::to_string(engineId_));
  }
  // The job ends the engine and whatever it started.
  std::erase_if(list_.processes,
                [&](const ProcessEntry& p) { return p.processId == engineId_ || p.parentProcessId == engineId_; });
  ended_ = nullptr;
  return running;
}

void FakeEngineProcesses::EngineDies(std::uint32_t exitCode) {
  std::erase_if(list_.processes, [&](const ProcessEntry& p) { return p.processId == engineId_; });
  if (auto ended = std::exchange(ended_, nullptr)) ended(exitCode);
}
