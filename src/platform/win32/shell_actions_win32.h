#pragma once
// ShellExecuteA for addresses, CreateProcessA for command lines.
#include "platform/shell_actions.h"

class Win32ShellActions final : public ShellActions {
 public:
  void OpenAddress(const std::string& address) override;
  void Launch(const std::string& commandLine) override;
};
