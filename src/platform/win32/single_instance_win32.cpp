#include "platform/win32/single_instance_win32.h"

#include <windows.h>

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
