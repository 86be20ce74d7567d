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

void Win32SingleInstance::Claim(const std::string& eventName) {
  // Auto-reset, not signalled; nobody ever waits on it or signals it.
  event_ = CreateEventA(nullptr, FALSE, FALSE, eventName.c_str());
}
