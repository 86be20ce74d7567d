#pragma once
// Background work that reports through the tray and the window.
#include <functional>

class WorkerThreads {
 public:
  virtual ~WorkerThreads() = default;
  // Runs `work` on a new thread and returns at once. Should the work throw,
  // `failed` runs instead of the rest of it, so the job still reports its
  // failure the way it reports any other. When no thread can be had,
  // `failed` runs at once, on the caller's thread.
  virtual void Start(std::function<void()> work, std::function<void()> failed = {}) = 0;
};

// What every worker runs: the work, and `failed` when it throws. Nothing
// leaves: an exception at the top of a thread would end the program, and
// with it the engine and the user's proxy settings pointing at nothing.
void RunWorkerJob(const std::function<void()>& work, const std::function<void()>& failed) noexcept;

// Hands a job to `launch`, which runs its body on a new thread and says
// whether it got one. Without a thread the job's failure path runs here, so
// a job that never ran still reports and leaves nothing marked busy.
using ThreadLauncher = std::function<bool(std::function<void()> body)>;
void StartWorkerJob(const ThreadLauncher& launch, std::function<void()> work, std::function<void()> failed);
