#include "platform/win32/tick_clock_win32.h"

#include <windows.h>

std::uint32_t Win32TickClock::TickCount() { return GetTickCount(); }
