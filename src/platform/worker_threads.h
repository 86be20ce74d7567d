#pragma once
// Background work that reports through the tray and the window.
#include <functional>

class WorkerThreads {
 public:
  virtual ~WorkerThreads() = default;
  // Runs `work` on a new thread and returns at once.
  virtual void Start(std::function<void()> work) = 0;
};
