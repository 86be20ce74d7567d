#pragma once
// Worker threads that are never joined: each ends by itself when its work
// is done. At the program's end, work still running would reach objects
// that are being destroyed, so Finish gives it a moment and then ends the
// process at once.
#include <atomic>

#include "platform/worker_threads.h"

class Win32WorkerThreads final : public WorkerThreads {
 public:
  Win32WorkerThreads() = default;
  ~Win32WorkerThreads() override { Finish(); }
  Win32WorkerThreads(const Win32WorkerThreads&) = delete;
  Win32WorkerThreads& operator=(const Win32WorkerThreads&) = delete;

  void Start(std::function<void()> work, std::function<void()> failed) override;
  // Waits up to two seconds for running work, then ends the process with
  // exit code 0 if any is still running.
  void Finish();

 private:
  std::atomic<int> running_{0};
};
