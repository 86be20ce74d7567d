#include "platform/worker_threads.h"

#include <memory>

namespace {

void RunFailurePath(const std::function<void()>& failed) noexcept {
  try {
    if (failed) failed();
  } catch (...) {
    // Not even the report could be made; the program goes on regardless.
  }
}

}  // namespace

void RunWorkerJob(const std::function<void()>& work, const std::function<void()>& failed) noexcept {
  try {
    work();
    return;
  } catch (...) {
  }
  RunFailurePath(failed);
}

void StartWorkerJob(const ThreadLauncher& launch, std::function<void()> work, std::function<void()> failed) {
  // Shared, because a launch that fails may have dropped the body it was handed.
  auto failure = std::make_shared<const std::function<void()>>(std::move(failed));
  bool started = false;
  try {
    started = launch([work = std::move(work), failure] { RunWorkerJob(work, *failure); });
  } catch (...) {
  }
  if (!started) RunFailurePath(*failure);
}
