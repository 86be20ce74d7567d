#include "platform/win32/engine_processes_win32.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/last_line.h"

namespace {

// brook.log keeps at most the last megabyte. A trim keeps less than that,
// from a line's start, so trims stay rare however fast the engine prints.
constexpr LONGLONG kLogLimit = 1 << 20;
constexpr LONGLONG kLogKept = 768 << 10;
constexpr DWORD kPipeBytes = 64 << 10;
constexpr DWORD kStopWaitMilliseconds = 5000;
constexpr DWORD kLastWordsMilliseconds = 300;

// What one launch printed, shared by the window's thread and its reader.
struct LaunchOutput {
  LaunchOutput() : drained(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~LaunchOutput() {
    if (drained) CloseHandle(drained);
  }
  std::mutex mutex;
  LastLine lastLine;
  HANDLE drained;  // set when the pipe has ended: nothing more will come
};

}  // namespace

class Win32EngineLog {
 public:
  ~Win32EngineLog() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }

  // Appends, first moving the file's tail to its front when it would grow
  // past the limit. Failures lose output, never the engine's run.
  void Append(const std::string& path, const char* bytes, DWORD size) {
    std::lock_guard lock(mutex_);
    if (path != path_) {
      if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
      path_ = path;
      // Shared for everyone, so an editor can show it while the engine prints.
      file_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (file_ == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file_, &length)) return;
    if (length.QuadPart + size > kLogLimit) length.QuadPart = KeepTail(length.QuadPart);
    if (!SetFilePointerEx(file_, length, nullptr, FILE_BEGIN)) return;
    DWORD written = 0;
    WriteFile(file_, bytes, size, &written, nullptr);
  }

 private:
  bool ReadAt(LONGLONG offset, DWORD* got) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    return SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) &&
           ReadFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), got, nullptr);
  }
  bool WriteAt(LONGLONG offset, DWORD size) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD written = 0;
    return SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) && WriteFile(file_, buffer_.data(), size, &written, nullptr);
  }

  // Copies the tail to the front through one fixed buffer, so memory stays
  // flat; returns the new length.
  LONGLONG KeepTail(LONGLONG length) {
    buffer_.resize(64 << 10);
    LONGLONG from = length > kLogKept ? length - kLogKept : 0;
    DWORD got = 0;
    if (!ReadAt(from, &got)) return length;
    const auto lineEnd = std::find(buffer_.begin(), buffer_.begin() + got, '\n');
    if (lineEnd != buffer_.begin() + got) from += lineEnd - buffer_.begin() + 1;
    LONGLONG to = 0;
    while (ReadAt(from, &got) && got > 0 && WriteAt(to, got)) {
      from += got;
      to += got;
    }
    LARGE_INTEGER end;
    end.QuadPart = to;
    SetFilePointerEx(file_, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file_);
    return to;
  }

  std::mutex mutex_;
  std::string path_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::vector<char> buffer_;
};

struct Win32EngineWatch {
  ~Win32EngineWatch() {
    // Waits for a report that is being made now; the report only posts, so
    // this never waits on the window.
    if (wait) UnregisterWaitEx(wait, INVALID_HANDLE_VALUE);
    if (process) CloseHandle(process);
  }
  HANDLE process = nullptr;
  HANDLE wait = nullptr;
  bool inJob = false;
  std::function<void(std::uint32_t)> ended;
  std::shared_ptr<LaunchOutput> output = std::make_shared<LaunchOutput>();
};

namespace {

struct PipeReader {
  HANDLE pipe;
  std::string logPath;
  std::shared_ptr<LaunchOutput> output;
  std::shared_ptr<Win32EngineLog> log;
};

// Reads until every writer has gone: the engine and whatever inherited its
// output. A pipe left unread would stop the engine at its next write.
DWORD WINAPI ReadEngineOutput(void* context) {
  PipeReader* reader = static_cast<PipeReader*>(context);
  try {
    char piece[4096];
    DWORD got = 0;
    while (ReadFile(reader->pipe, piece, sizeof piece, &got, nullptr)) {
      if (got == 0) continue;
      {
        std::lock_guard lock(reader->output->mutex);
        reader->output->lastLine.Add({piece, got});
      }
      reader->log->Append(reader->logPath, piece, got);
    }
  } catch (...) {
    // Out of memory: the pipe closes below, and the engine's writes then
    // fail instead of blocking.
  }
  CloseHandle(reader->pipe);
  SetEvent(reader->output->drained);
  delete reader;
  return 0;
}

void CALLBACK ReportEngineEnd(void* context, BOOLEAN) {
  auto* watch = static_cast<Win32EngineWatch*>(context);
  DWORD exitCode = 0;
  GetExitCodeProcess(watch->process, &exitCode);
  try {
    if (watch->ended) watch->ended(exitCode);
  } catch (...) {
    // Nothing leaves a thread of the system's pool.
  }
}

void StartReader(HANDLE pipe, const std::string& logPath, const std::shared_ptr<LaunchOutput>& output,
                 const std::shared_ptr<Win32EngineLog>& log) {
  auto* reader = new PipeReader{pipe, logPath, output, log};
  HANDLE thread = CreateThread(nullptr, 64 << 10, ReadEngineOutput, reader, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread) {
    CloseHandle(thread);
    return;
  }
  CloseHandle(pipe);
  SetEvent(output->drained);
  delete reader;
}

}  // namespace

Win32EngineProcesses::Win32EngineProcesses() : log_(std::make_shared<Win32EngineLog>()) {}

Win32EngineProcesses::~Win32EngineProcesses() {
  watch_.reset();
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

bool Win32EngineProcesses::LaunchEngine(const EngineLaunch& launch) {
  // Only the pipe's write end and the empty input are inherited.
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (CreatePipe(&readEnd, &writeEnd, &inherited, kPipeBytes))
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  else
    readEnd = writeEnd = nullptr;
  HANDLE nothing = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0,
                               nullptr);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  if (writeEnd) {
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = nothing == INVALID_HANDLE_VALUE ? nullptr : nothing;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
  }
  PROCESS_INFORMATION engine{};
  std::string line = launch.commandLine;  // CreateProcessA may write into it
  // Suspended until it is in the job, so nothing it starts escapes the job.
  const BOOL created = CreateProcessA(nullptr, line.data(), nullptr, nullptr, writeEnd != nullptr, CREATE_SUSPENDED,
                                      nullptr, nullptr, &startup, &engine);
  // The engine holds its own copies: once it and whatever it started have
  // ended, the pipe ends.
  if (writeEnd) CloseHandle(writeEnd);
  if (nothing != INVALID_HANDLE_VALUE) CloseHandle(nothing);
  if (!created) {
    // What the engine before printed stays readable for the balloons.
    if (readEnd) CloseHandle(readEnd);
    return false;
  }

  auto watch = std::make_unique<Win32EngineWatch>();
  watch->process = engine.hProcess;
  watch->ended = launch.ended;
  // Where this program itself runs in a job that allows no nested one
  // (before Windows 8), the engine runs without; it is then ended alone.
  if (HANDLE job = EngineJob()) watch->inJob = AssignProcessToJobObject(job, engine.hProcess) != 0;
  ResumeThread(engine.hThread);
  CloseHandle(engine.hThread);

  if (readEnd)
    StartReader(readEnd, launch.logPath, watch->output, log_);
  else
    SetEvent(watch->output->drained);
  watch_ = std::move(watch);  // the engine before is forgotten, its wait ended
  if (!RegisterWaitForSingleObject(&watch_->wait, watch_->process, ReportEngineEnd, watch_.get(), INFINITE,
                                   WT_EXECUTEONLYONCE))
    watch_->wait = nullptr;
  return true;
}

bool Win32EngineProcesses::EngineRunning() {
  return watch_ && WaitForSingleObject(watch_->process, 0) == WAIT_TIMEOUT;
}

bool Win32EngineProcesses::EndEngine() {
  if (!watch_) return false;
  // Its end is this program's doing: no report.
  if (watch_->wait) UnregisterWaitEx(std::exchange(watch_->wait, nullptr), INVALID_HANDLE_VALUE);
  const bool running = EngineRunning();
  // The job holds the engine and everything it started; an engine that
  // died leaves its children to be ended too.
  if (watch_->inJob)
    TerminateJobObject(job_, 0);
  else if (running)
    TerminateProcess(watch_->process, 0);
  // The port and the files are free once the stop is over.
  WaitForSingleObject(watch_->process, kStopWaitMilliseconds);
  return running;
}

std::string Win32EngineProcesses::LastOutputLine() {
  if (!watch_) return {};
  if (!EngineRunning()) WaitForSingleObject(watch_->output->drained, kLastWordsMilliseconds);
  std::lock_guard lock(watch_->output->mutex);
  return watch_->output->lastLine.Get();
}
