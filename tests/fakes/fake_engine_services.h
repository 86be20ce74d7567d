#pragma once
// Fakes of the services behind engine control, wired together as the
// program wires the real ones. The engine's process lives in the fake
// process list: a launch that comes up adds a "brook.exe" there, and
// terminating it removes it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/engine_services.h"

class FakeProcessList;

class FakeEngineProcesses : public EngineProcesses {
 public:
  explicit FakeEngineProcesses(FakeProcessList& list) : list_(list) {}

  bool engineComesUp = true;  // a launch adds a running brook.exe
  bool launchFails = false;   // CreateProcess refuses
  std::vector<std::string> launched;
  std::vector<std::uint32_t> terminated;

  bool LaunchEngine(const std::string& commandLine) override;
  bool Terminate(std::uint32_t processId) override;

 private:
  FakeProcessList& list_;
  std::uint32_t nextId_ = 4000;
};

class FakeCommandRunner : public CommandRunner {
 public:
  struct Run {
    std::string program, arguments;
  };
  std::string output;  // what every captured run prints
  std::vector<std::string> interpreted;  // RunCommandCaptured
  std::vector<Run> captured;             // RunSystemProgramCaptured
  std::vector<Run> launched;             // LaunchSystemProgram

  std::string RunCommandCaptured(const std::string& command) override {
    interpreted.push_back(command);
    return output;
  }
  std::string RunSystemProgramCaptured(std::string_view program, std::string_view arguments) override {
    captured.push_back({std::string(program), std::string(arguments)});
    return output;
  }
  void LaunchSystemProgram(std::string_view program, std::string_view arguments) override {
    launched.push_back({std::string(program), std::string(arguments)});
  }
};

class FakeResponsiveWait : public ResponsiveWait {
 public:
  std::vector<unsigned> waits;
  std::function<void()> meanwhile;  // what the window handles during the wait
  bool programEnds = false;         // a WM_QUIT arrives during the wait
  bool Wait(unsigned milliseconds) override {
    waits.push_back(milliseconds);
    if (meanwhile) meanwhile();
    return !programEnds;
  }
};

class FakeNetworkAdapters : public NetworkAdapters {
 public:
  std::vector<NetworkAdapter> adapters;
  int listings = 0;
  std::vector<NetworkAdapter> List() override {
    ++listings;
    return adapters;
  }
};

struct FakeEngine {
  explicit FakeEngine(FakeProcessList& list) : processes(list) {}

  FakeEngineProcesses processes;
  FakeCommandRunner commands;
  FakeResponsiveWait wait;
  FakeNetworkAdapters adapters;
  EngineServices services{processes, commands, wait, adapters};
};
