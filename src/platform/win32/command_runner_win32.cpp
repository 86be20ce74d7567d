#include "platform/win32/command_runner_win32.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "shared/command_line_quoting.h"
#include "platform/win32/message_pump_win32.h"
#include "platform/win32/unique_handle_win32.h"

namespace {

// The interpreter of the platform: cmd.exe on NT, command.com on the old
// Windows line.
std::string InterpreterPrefix() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT ? "cmd.exe /c " : "command.com /c ";
}

// The full path of a program in the system folder, so that a file of the
// same name beside this program or in the current folder is never run.
std::string SystemProgramPath(std::string_view program) {
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string(program);
  return std::string(folder, length) + "\\" + std::string(program);
}

// Appends what the pipe holds now; the text of each piece ends at its first
// zero byte. False when nothing was waiting.
bool ReadWaiting(HANDLE pipe, std::string& output) {
  DWORD waiting = 0;
  if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) || waiting == 0) return false;
  std::vector<char> buffer(waiting);
  DWORD got = 0;
  if (!ReadFile(pipe, buffer.data(), waiting, &got, nullptr) || got == 0) return false;
  output.append(buffer.data(), strnlen(buffer.data(), got));
  return true;
}

// About one millisecond on a waitable timer, handling window messages that
// arrive meanwhile.
void WaitAMoment(HANDLE timer, PendingMessagePump& pump) {
  if (!timer) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    pump.Run();
    return;
  }
  LARGE_INTEGER due;
  due.QuadPart = -10000;  // relative, in 100 ns units
  SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) return;  // the timer, or a failed wait
    pump.Run();
  }
}

// Runs the command line hidden with standard output and standard error into
// one pipe, and collects the pipe until the process has ended. There is no
// time-out: the call returns when the command does.
CapturedRun RunCaptured(const char* applicationName, const std::string& commandLine) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return {};
  UniqueHandle reader(readEnd), writer(writeEnd);
  // Only the write end goes to the child; a child holding the read end too
  // would keep the pipe open after it has written everything.
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION child{};
  std::string line = commandLine;  // CreateProcessA may write into it
  if (!CreateProcessA(applicationName, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
    return {};
  UniqueHandle process(child.hProcess);
  CloseHandle(child.hThread);
  // Without our copy of the write end, the pipe ends once the child and
  // its descendants have closed theirs.
  writer.Reset();

  CapturedRun run;
  std::string& output = run.output;
  PendingMessagePump pump;
  UniqueHandle timer(CreateWaitableTimerA(nullptr, FALSE, nullptr));
  for (;;) {
    if (ReadWaiting(readEnd, output)) continue;
    // The pipe was empty just now. Whatever the child wrote before it ended
    // is in the pipe once it has ended, so one more drain loses nothing.
    if (WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0) {
      while (ReadWaiting(readEnd, output)) {
      }
      break;
    }
    if (GetInputState()) pump.Run();
    WaitAMoment(timer.Get(), pump);
  }
  DWORD exitCode = 0;
  if (GetExitCodeProcess(process.Get(), &exitCode)) run.exitCode = exitCode;
  return run;
}

}  // namespace

std::string Win32CommandRunner::RunCommandCaptured(const std::string& command) {
  return RunCaptured(nullptr, InterpreterPrefix() + command).output;
}

CapturedRun Win32CommandRunner::RunSystemProgramCaptured(std::string_view program, std::string_view arguments) {
  const std::string path = SystemProgramPath(program);
  return RunCaptured(path.c_str(), QuoteProgramPath(path, GetACP()) + " " + std::string(arguments));
}
