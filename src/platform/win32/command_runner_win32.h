#pragma once
// Console commands run hidden with their output captured through a pipe,
// while the window keeps handling its messages.
#include "platform/command_runner.h"

class Win32CommandRunner final : public CommandRunner {
 public:
  std::string RunCommandCaptured(const std::string& command) override;
  CapturedRun RunSystemProgramCaptured(std::string_view program, std::string_view arguments) override;
};
