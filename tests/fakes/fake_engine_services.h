#pragma once
// Fakes of the services behind engine control, wired together as the
// program wires the real ones. The engine's process lives in the fake
// process list: a launch that comes up adds a "brook.exe" there, and ending
// it removes it with the processes it started.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/engine_services.h"

class FakeProcessList;

// What the engine's process and the console commands did, in one order:
// "terminate <id>" and "<program> <arguments>".
using CallSequence = std::vector<std::string>;

class FakeEngineProcesses : public EngineProcesses {
 public:
  FakeEngineProcesses(FakeProcessList& list, CallSequence& sequence) : list_(list), sequence_(sequence) {}

  bool engineComesUp = true;  // a launch adds a running brook.exe
  bool launchFails = false;   // CreateProcess refuses
  std::string printed;        // the last line every engine prints
  std::vector<std::string> launched;
  std::vector<std::string> logPaths;
  std::vector<std::uint32_t> terminated;

  bool LaunchEngine(const EngineLaunch& launch) override;
  bool EngineRunning() override;
  bool EndEngine() override;
  std::string LastOutputLine() override { return printed; }

  // The engine launched last ends by itself: it leaves the list and the
  // system thread reports its exit code, as the process wait does.
  void EngineDies(std::uint32_t exitCode);
  std::uint32_t EngineId() const { return engineId_; }

 private:
  FakeProcessList& list_;
  CallSequence& sequence_;
  std::uint32_t nextId_ = 4000;
  std::uint32_t engineId_ = 0;
  std::function<void(std::uint32_t)> ended_;
};

class FakeCommandRunner : public CommandRunner {
 public:
  explicit FakeCommandRunner(CallSequence& sequence) : sequence_(sequence) {}
  struct Run {
    std::string program, arguments;
  };
  std::string output;                         // what every captured run prints
  std::optional<std::uint32_t> exitCode = 1;  // and how it ends
  std::vector<std::string> interpreted;  // RunCommandCaptured
  std::vector<Run> captured;             // RunSystemProgramCaptured

  std::string RunCommandCaptured(const std::string& command) override {
    interpreted.push_back(command);
    return output;
  }
  CapturedRun RunSystemProgramCaptured(std::string_view program, std::string_view arguments) override {
    captured.push_back({std::string(program), std::string(arguments)});
    sequence_.push_back(std::string(program) + " " + std::string(arguments));
    return {output, exitCode};
  }

 private:
  CallSequence& sequence_;
};

class FakeResponsiveWait : public ResponsiveWait {
 public:
  std::vector<unsigned> waits;
  std::function<void()> meanwhile;  // what the window handles during the wait
  // What the window handles during the next wait only: a hook that waits
  // again itself cannot recurse for ever when the code it tests goes wrong.
  std::function<void()> nextWaitOnly;
  bool programEnds = false;         // a WM_QUIT arrives during the wait
  bool Wait(unsigned milliseconds) override {
    waits.push_back(milliseconds);
    if (meanwhile) meanwhile();
    if (auto once = std::exchange(nextWaitOnly, nullptr)) once();
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

class FakeAnsiCodePage : public AnsiCodePage {
 public:
  unsigned codePage = 936;
  unsigned Current() override { return codePage; }
};

class FakeEngineClock : public TickClock {
 public:
  std::uint32_t now = 1000;
  std::uint32_t TickCount() override { return now; }
};

struct FakeEngine {
  explicit FakeEngine(FakeProcessList& list) : processes(list, sequence), commands(sequence) {}

  CallSequence sequence;
  FakeEngineProcesses processes;
  FakeCommandRunner commands;
  FakeResponsiveWait wait;
  FakeNetworkAdapters adapters;
  FakeAnsiCodePage codePage;
  FakeEngineClock clock;
  EngineServices services{processes, commands, wait, adapters, codePage, clock};
};
