#include "platform/win32/shell_actions_win32.h"

#include <windows.h>
#include <shellapi.h>

void Win32ShellActions::OpenAddress(const std::string& address) {
  // An open Internet Explorer window, when there is one, owns the request,
  // so the page opens there rather than behind it.
  HWND owner = FindWindowA(nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32ShellActions::Launch(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::string writable = commandLine;  // CreateProcessA may write into it
  if (CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}
