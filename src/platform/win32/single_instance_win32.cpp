#include "platform/win32/single_instance_win32.h"

#include <windows.h>

bool Win32SingleInstance::OtherInstanceHolds(const std::string& eventName) {
  HANDLE other = OpenEventA(EVENT_ALL_ACCESS, FALSE, eventName.c_str());
  if (other) {
    CloseHandle(other);
    return true;
  }
  // The event exists but is not ours to open: a copy started with other
  // rights (elevated, or by another user) holds it.
  return GetLastError() == ERROR_ACCESS_DENIED;
}

bool Win32SingleInstance::Claim(const std::string& eventName) {
  // Auto-reset, not signalled; nobody ever waits on it or signals it.
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, eventName.c_str());
  const DWORD error = GetLastError();
  if (!event) {
    // The event exists but is not ours to open: a copy started with other
    // rights (elevated, or by another user) holds it. Any other refusal
    // says nothing about a copy, and the program runs as it always could.
    return error != ERROR_ACCESS_DENIED;
  }
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(event);
    return false;
  }
  event_ = event;
  return true;
}

void Win32SingleInstance::LockRecovery() {
  if (recovery_) return;
  // In the session's namespace, as the proxy settings are per user.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "CorvaneProxyRecovery");
  if (!mutex) return;
  // A holder that died leaves the mutex abandoned, which is ours then.
  // After the wait's time-out the recovery goes on without: better a race
  // than a user left offline.
  const DWORD waited = WaitForSingleObject(mutex, 10000);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return;
  }
  recovery_ = mutex;
}

void Win32SingleInstance::UnlockRecovery() {
  if (!recovery_) return;
  ReleaseMutex(recovery_);
  CloseHandle(recovery_);
  recovery_ = nullptr;
}
