#pragma once
// A snapshot of the running processes.
#include <cstdint>
#include <string>
#include <vector>

struct ProcessEntry {
  std::uint32_t processId = 0;
  std::string exeName;  // file name only, as the system reports it
  std::uint32_t parentProcessId = 0;
};

class ProcessList {
 public:
  virtual ~ProcessList() = default;
  virtual std::vector<ProcessEntry> Snapshot() = 0;
};
