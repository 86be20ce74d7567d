#include "platform/win32/worker_threads_win32.h"

#include <thread>

#include <windows.h>

namespace {

constexpr int kFinishWaitMs = 2000;
constexpr int kPollMs = 20;

}  // namespace

void Win32WorkerThreads::Start(std::function<void()> work, std::function<void()> failed) {
  StartWorkerJob(
      [this](std::function<void()> body) {
        ++running_;
        try {
          std::thread([this, body = std::move(body)] {
            body();
            --running_;
          }).detach();
          return true;
        } catch (...) {
          --running_;  // no thread to be had (out of memory or of handles)
          return false;
        }
      },
      std::move(work), std::move(failed));
}

void Win32WorkerThreads::Finish() {
  for (int waited = 0; running_ > 0 && waited < kFinishWaitMs; waited += kPollMs) Sleep(kPollMs);
  if (running_ > 0) TerminateProcess(GetCurrentProcess(), 0);
}
