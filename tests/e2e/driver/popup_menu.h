#pragma once
// The pop-up menu a program shows (the system's window class "#32768"), and
// the keys a user presses in it. Its items live in the program's memory,
// where another process cannot read them under Wine; a test chooses by
// position, as the arrow keys do.
#include <windows.h>

namespace e2e {

// The program's visible pop-up menu; null when none shows within `timeout`.
HWND WaitForPopupMenu(DWORD processId, DWORD timeout);
// Arrow presses from no item chosen (Down counts from the first item, Up
// from the last, separators skipped), then Enter.
void ChooseInPopupMenu(HWND menu, WORD arrowKey, int presses);
void ClosePopupMenu(HWND menu);
// Waits until the program shows no pop-up menu.
bool WaitForNoPopupMenu(DWORD processId, DWORD timeout);

}  // namespace e2e
