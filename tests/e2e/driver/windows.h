#pragma once
// Finding the windows of another process and reading them. Texts travel as
// GBK bytes (the ANSI code page under test is 936), the program's own
// encoding.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// Top-level windows of the process, hidden ones included.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
// The top-level window of the process with exactly this title; polls until
// it appears or `timeout` ms have passed. Null when it never did.
HWND WaitForWindowTitled(DWORD processId, std::string_view title, DWORD timeout);

// The descendant of `root` with this control id, at any depth (the program's
// controls sit on page windows inside the tab control). Null if none.
HWND FindDescendant(HWND root, int controlId);

// The window's text through WM_GETTEXT, which crosses process borders for
// edit controls too (GetWindowText would not ask the other process).
std::string TextOf(HWND window);
std::string ClassOf(HWND window);

// Returns once the window's thread has handled everything sent before;
// false when it does not answer within `timeout` ms.
bool Ping(HWND window, DWORD timeout);

}  // namespace e2e
