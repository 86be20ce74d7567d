#pragma once
// The fonts of the program's windows, made for the DPI of their monitor.
#include <windows.h>

// A Chinese face at `pixelHeight` pixels (character height).
HFONT MakeFont(const char* face, int pixelHeight);
// The face and size of the windows' texts, 9 points at `dpi`.
HFONT MakeUiFont(UINT dpi);
// `redraw` false for a window not shown yet, or one repainted whole later.
void SetFont(HWND window, HFONT font, bool redraw = true);
