#include "platform/win32/engine_processes_win32.h"

#include <windows.h>

Win32EngineProcesses::~Win32EngineProcesses() {
  if (job_) CloseHandle(job_);
}

void* Win32EngineProcesses::EngineJob() {
  if (job_) return job_;
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (!job) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    CloseHandle(job);
    return nullptr;
  }
  job_ = job;
  return job_;
}

bool Win32EngineProcesses::LaunchEngine(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION engine{};
  std::string line = commandLine;  // CreateProcessA may write into it
  // Suspended until it is in the job, so nothing it starts escapes the job.
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                      &engine))
    return false;
  // Where this program itself runs in a job that allows no nested one
  // (before Windows 8), the engine runs without; it is still ended by name
  // at a stop and at exit.
  if (HANDLE job = EngineJob()) AssignProcessToJobObject(job, engine.hProcess);
  ResumeThread(engine.hThread);
  CloseHandle(engine.hThread);
  CloseHandle(engine.hProcess);
  return true;
}

bool Win32EngineProcesses::Terminate(std::uint32_t processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
  if (!process) return false;
  const bool ended = TerminateProcess(process, 0) != 0;
  CloseHandle(process);
  return ended;
}
