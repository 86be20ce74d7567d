#include "fakes/fake_engine_services.h"

#include <algorithm>

#include "fakes/fake_platform.h"

bool FakeEngineProcesses::LaunchEngine(const std::string& commandLine) {
  launched.push_back(commandLine);
  if (launchFails) return false;
  if (engineComesUp) list_.processes.push_back({nextId_++, "brook.exe", 1});
  return true;
}

bool FakeEngineProcesses::Terminate(std::uint32_t processId) {
  terminated.push_back(processId);
  sequence_.push_back("terminate " + std::to_string(processId));
  auto& processes = list_.processes;
  const auto found =
      std::find_if(processes.begin(), processes.end(), [&](const ProcessEntry& p) { return p.processId == processId; });
  if (found == processes.end()) return false;
  processes.erase(found);
  return true;
}
