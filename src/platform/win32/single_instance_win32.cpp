#include "platform/win32/single_instance_win32.h"

#include <windows.h>

bool Win32SingleInstance::OtherInstanceHolds(const std::string& eventName) {
  HANDLE other = OpenEventA(EVENT_ALL_ACCESS, FALSE, eventName.c_str());
  if (!other) return false;
  CloseHandle(other);
  return true;
}

void Win32SingleInstance::Claim(const std::string& eventName) {
  // Auto-reset, not signalled; nobody ever waits on it or signals it.
  event_ = CreateEventA(nullptr, FALSE, FALSE, eventName.c_str());
}
