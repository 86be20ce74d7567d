#include "platform/worker_threads.h"

void RunWorkerJob(const std::function<void()>& work, const std::function<void()>& failed) noexcept {
  try {
    work();
    return;
  } catch (...) {
  }
  try {
    if (failed) failed();
  } catch (...) {
    // Not even the report could be made; the program goes on regardless.
  }
}
