#include "driver/program_run.h"

#include <tlhelp32.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "driver/polling.h"
#include "driver/test_folder.h"

namespace e2e {

namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

PROCESS_INFORMATION Launch(const std::string& exePath, std::string commandLine, const std::string& folder) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info))
    throw std::runtime_error("cannot start " + exePath + " (error " + std::to_string(GetLastError()) + ")");
  CloseHandle(info.hThread);
  return info;
}

template <class Visit>
void ForEachProcess(Visit visit) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (!visit(entry)) break;
  CloseHandle(snapshot);
}

void Terminate(HANDLE process) {
  if (process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process, 255);
    WaitForSingleObject(process, kActionTimeout);
  }
}

}  // namespace

ProgramRun ProgramRun::StartQuiet(const std::string& exePath) {
  const PROCESS_INFORMATION info = Launch(exePath, Quoted(exePath), FolderOf(exePath));
  return ProgramRun(info.hProcess, info.dwProcessId, nullptr);
}

ProgramRun ProgramRun::StartFromShell(const std::string& exePath) {
  const std::string shell = ShellLauncherPath();
  const PROCESS_INFORMATION shellInfo = Launch(shell, Quoted(shell) + " " + Quoted(exePath), FolderOf(exePath));
  const std::string exeName = exePath.substr(exePath.find_last_of('\\') + 1);
  DWORD childId = 0;
  WaitUntil([&] { return (childId = ChildProcess(shellInfo.dwProcessId, exeName)) != 0; }, kStartTimeout, 5);
  HANDLE child = childId ? OpenProcess(PROCESS_ALL_ACCESS, FALSE, childId) : nullptr;
  if (!child) {
    // The launcher's exit code tells a failed CreateProcess (3) from a
    // program that ended at once; STILL_ACTIVE means it is still trying.
    DWORD launcherCode = 0;
    GetExitCodeProcess(shellInfo.hProcess, &launcherCode);
    TerminateProcess(shellInfo.hProcess, 1);
    CloseHandle(shellInfo.hProcess);
    throw std::runtime_error("the shell stand-in did not start " + exePath + " (child " + std::to_string(childId) +
                             ", launcher exit code " + std::to_string(launcherCode) + ")");
  }
  return ProgramRun(child, childId, shellInfo.hProcess);
}

ProgramRun::ProgramRun(HANDLE process, DWORD id, HANDLE launcher)
    : process_(process), id_(id), launcher_(launcher) {}

ProgramRun::ProgramRun(ProgramRun&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      id_(std::exchange(other.id_, 0)),
      launcher_(std::exchange(other.launcher_, nullptr)) {}

ProgramRun::~ProgramRun() {
  Kill();
  if (process_) CloseHandle(process_);
  if (launcher_) CloseHandle(launcher_);
}

bool ProgramRun::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> ProgramRun::WaitForExit(DWORD timeout) const {
  if (!process_ || WaitForSingleObject(process_, timeout) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void ProgramRun::Kill() {
  std::vector<HANDLE> children;
  if (Running()) {
    ForEachProcess([&](const PROCESSENTRY32& entry) {
      if (entry.th32ParentProcessID == id_)
        if (HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID))
          children.push_back(child);
      return true;
    });
  }
  Terminate(process_);
  for (HANDLE child : children) {
    Terminate(child);
    CloseHandle(child);
  }
  Terminate(launcher_);
}

DWORD ChildProcess(DWORD parentId, const std::string& exeName) {
  DWORD child = 0;
  ForEachProcess([&](const PROCESSENTRY32& entry) {
    if (entry.th32ParentProcessID == parentId && lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0)
      child = entry.th32ProcessID;
    return child == 0;
  });
  return child;
}

std::string ProcessExeName(DWORD processId) {
  std::string name;
  ForEachProcess([&](const PROCESSENTRY32& entry) {
    if (entry.th32ProcessID == processId) name = entry.szExeFile;
    return name.empty();
  });
  return name;
}

DWORD ParentProcessId(DWORD processId) {
  DWORD parent = 0;
  bool found = false;
  ForEachProcess([&](const PROCESSENTRY32& entry) {
    if (entry.th32ProcessID == processId) {
      parent = entry.th32ParentProcessID;
      found = true;
    }
    return !found;
  });
  return parent;
}

}  // namespace e2e
