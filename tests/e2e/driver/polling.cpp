#include "driver/polling.h"

namespace e2e {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout, DWORD interval) {
  const ULONGLONG deadline = GetTickCount64() + timeout;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(interval);
  }
}

}  // namespace e2e
