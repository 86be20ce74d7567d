#pragma once
// What the proxy, PAC and update work keep between calls. The window's
// thread, the workers and the PAC server's thread all reach it, so every
// field is read and written under the lock or is atomic.
#include <atomic>
#include <mutex>
#include <string>

#include "system/pac_http.h"

class SystemState {
 public:
  // The host PAC templates are downloaded from: the startup sets the
  // maker's default before anything can ask for it, and the fetch from the
  // version server replaces it.
  std::string PacSourceHost() const {
    std::lock_guard lock(mutex_);
    return pacSourceHost_;
  }
  void SetPacSourceHost(std::string host) {
    std::lock_guard lock(mutex_);
    pacSourceHost_ = std::move(host);
  }

  // The generated PAC file the local server hands out.
  std::string ServedPacPath() const {
    std::lock_guard lock(mutex_);
    return servedPacPath_;
  }
  void SetServedPacPath(std::string path) {
    std::lock_guard lock(mutex_);
    servedPacPath_ = std::move(path);
  }

  // The PAC address's secret and the server's port, fixed once serving starts.
  PacServing PacServer() const {
    std::lock_guard lock(mutex_);
    return pacServing_;
  }
  void SetPacServer(PacServing serving) {
    std::lock_guard lock(mutex_);
    pacServing_ = std::move(serving);
  }

  // Only one update check runs at a time: false when one already runs.
  bool BeginUpdateCheck() { return !updateCheckRunning_.exchange(true); }
  void EndUpdateCheck() { updateCheckRunning_ = false; }

  // A new number for every PAC address handed to Windows.
  unsigned NextPacRequest() { return ++pacRequests_; }

 private:
  mutable std::mutex mutex_;
  std::string pacSourceHost_;
  std::string servedPacPath_;
  PacServing pacServing_;
  std::atomic<bool> updateCheckRunning_{false};
  std::atomic<unsigned> pacRequests_{0};
};
