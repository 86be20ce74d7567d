#pragma once
// The engine's process: launched hidden with its output kept, watched for
// its end, and ended from outside. Only the process this program launched
// counts; another program's brook.exe is never looked at or ended.
#include <cstdint>
#include <functional>
#include <string>

struct EngineLaunch {
  std::string commandLine;
  // What the engine prints (standard output and error) is appended here;
  // the file keeps the last megabyte.
  std::string logPath;
  // Runs on a system thread, once, when the process ends other than by
  // EndEngine, with its exit code. It must only hand the news on.
  std::function<void(std::uint32_t exitCode)> ended;
};

class EngineProcesses {
 public:
  virtual ~EngineProcesses() = default;
  // Starts the command line with its window hidden and does not wait for
  // it; the engine launched before is forgotten. The process lives in a job
  // that ends it, and whatever it started, when this program ends, even by
  // a crash, so no orphan engine outlives its manager. Its output is read
  // as it comes, so the engine never waits on a full pipe. False when the
  // process could not be created.
  virtual bool LaunchEngine(const EngineLaunch& launch) = 0;
  // Whether the engine launched last still runs.
  virtual bool EngineRunning() = 0;
  // Ends the engine launched last, with exit code 0, together with the
  // processes it started; its end is not reported. True when it still ran.
  virtual bool EndEngine() = 0;
  // The last line the engine launched last printed; empty when none. Once
  // it has ended, what it printed last is waited for briefly.
  virtual std::string LastOutputLine() = 0;
};
