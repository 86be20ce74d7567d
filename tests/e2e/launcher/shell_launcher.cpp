// A stand-in for the Windows shell, built as shell\explorer.exe: it starts
// the command line it is given and waits for it to end, so the started
// program finds a parent process named explorer.exe, as after a double-click.
// Wine's own explorer.exe runs the desktop and cannot be used for this.
#include <windows.h>

namespace {

// The command line without this program's own name, which may be quoted.
char* ArgumentsAfterProgramName(char* commandLine) {
  char* p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char* command = ArgumentsAfterProgramName(GetCommandLineA());
  if (!*command) return 2;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) return 3;
  CloseHandle(child.hThread);
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hProcess);
  return static_cast<int>(code);
}
