#include "platform/win32/worker_threads_win32.h"

#include <thread>

#include <windows.h>

namespace {

constexpr int kFinishWaitMs = 2000;
constexpr int kPollMs = 20;

}  // namespace

void Win32WorkerThreads::Start(std::function<void()> work, std::function<void()> failed) {
  ++running_;
  try {
    std::thread([this, work = std::move(work), failed = std::move(failed)] {
      RunWorkerJob(work, failed);
      --running_;
    }).detach();
  } catch (...) {
    --running_;  // no thread to be had; the work is dropped, as a failed start would be
  }
}

void Win32WorkerThreads::Finish() {
  for (int waited = 0; running_ > 0 && waited < kFinishWaitMs; waited += kPollMs) Sleep(kPollMs);
  if (running_ > 0) TerminateProcess(GetCurrentProcess(), 0);
}
