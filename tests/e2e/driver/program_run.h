#pragma once
// One started copy of the program. Started directly, its parent is this
// driver, so it starts quietly and keeps its window hidden; started through
// shell\explorer.exe, our stand-in for the Windows shell, it opens its window
// as after a double-click. (Under Wine the real explorer.exe is the desktop
// process and starts nothing for us.)
//
// A run still alive when the object goes is terminated together with the
// processes it started (the engine), so a failing test leaves nothing behind
// for the next one.
#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

class ProgramRun {
 public:
  static ProgramRun StartQuiet(const std::string& exePath);
  static ProgramRun StartFromShell(const std::string& exePath);

  ProgramRun(ProgramRun&& other) noexcept;
  ProgramRun& operator=(ProgramRun&&) = delete;
  ProgramRun(const ProgramRun&) = delete;
  ~ProgramRun();

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }
  bool Running() const;
  // The exit code once the process has ended; nothing if it still runs
  // after `timeout` milliseconds.
  std::optional<DWORD> WaitForExit(DWORD timeout) const;
  // Ends the process, the processes it started and the shell stand-in at once.
  void Kill();

 private:
  ProgramRun(HANDLE process, DWORD id, HANDLE launcher);

  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  HANDLE launcher_ = nullptr;  // shell\explorer.exe, when started through it
};

// The id of a running process that `parentId` started from `exeName`
// (compared without regard to case); 0 when there is none.
DWORD ChildProcess(DWORD parentId, const std::string& exeName);
// The executable file name of a process ("corvane.exe"); empty when it is gone.
std::string ProcessExeName(DWORD processId);
// The parent process id the system records for a process; 0 when it is gone.
DWORD ParentProcessId(DWORD processId);

}  // namespace e2e
