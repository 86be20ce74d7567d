#pragma once
// Handing things to the desktop: a web page to the default browser, a
// command line to a new process.
#include <string>

class ShellActions {
 public:
  virtual ~ShellActions() = default;
  // Opens the address with the shell's "open" verb in a normal window.
  // Whether a browser started is not reported.
  virtual void OpenAddress(const std::string& address) = 0;
  // Starts the command line in a normal window and does not wait for it.
  virtual void Launch(const std::string& commandLine) = 0;
};
