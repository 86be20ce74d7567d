#pragma once
// Console commands run hidden on the window's thread. The waits keep the
// window responsive: its messages are handled while the command runs, so
// other handlers may run in between.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct CapturedRun {
  std::string output;                    // standard output and error, as text
  std::optional<std::uint32_t> exitCode;  // nothing when it could not be started
};

class CommandRunner {
 public:
  virtual ~CommandRunner() = default;
  // Runs `command` through the command interpreter ("cmd.exe /c ") and
  // returns everything it wrote to standard output and standard error, once
  // it has ended. Empty when it could not be started.
  virtual std::string RunCommandCaptured(const std::string& command) = 0;
  // Runs `program` (a file name such as "netsh.exe") from the Windows system
  // folder, with `arguments` as the rest of its command line and no command
  // interpreter in between, so no text in the arguments can be taken for a
  // command. Returns the captured output as above and the exit code.
  virtual CapturedRun RunSystemProgramCaptured(std::string_view program, std::string_view arguments) = 0;
};
