#pragma once
// The window is designed at 96 DPI; everything it places is scaled to the
// DPI of the monitor it sits on.
#include <windows.h>

// The DPI of the monitor showing `window` (per-monitor on Windows 10 1607
// and later, the system DPI before that).
UINT DpiForWindow(HWND window);

inline int ScaleForDpi(int designPixels, UINT dpi) {
  return MulDiv(designPixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}
