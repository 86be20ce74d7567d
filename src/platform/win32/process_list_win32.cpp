#include "platform/win32/process_list_win32.h"

#include <windows.h>
#include <tlhelp32.h>

std::vector<ProcessEntry> Win32ProcessList::Snapshot() {
  std::vector<ProcessEntry> processes;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return processes;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    processes.push_back({entry.th32ProcessID, entry.szExeFile, entry.th32ParentProcessID});
  CloseHandle(snapshot);
  return processes;
}
