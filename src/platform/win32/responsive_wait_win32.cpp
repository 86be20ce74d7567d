#include "platform/win32/responsive_wait_win32.h"

#include "platform/win32/message_pump_win32.h"

bool Win32ResponsiveWait::Wait(unsigned milliseconds) {
  PendingMessagePump pump;
  const DWORD start = GetTickCount();
  for (;;) {
    if (!pump.Run()) return false;
    const DWORD elapsed = GetTickCount() - start;  // wraps correctly after 49 days
    if (elapsed > milliseconds) return true;
    // Sleeps until a message arrives or the time is up, instead of spinning.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed + 1, QS_ALLINPUT);
  }
}
