#pragma once
// The program's message boxes: standard dialogs of class "#32770" whose text
// sits in the static control with id 0xFFFF.
#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

struct MessageBoxSeen {
  HWND window;
  std::string title;
  std::string text;
};

// The first visible message box of the process within `timeout` ms.
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, DWORD timeout);
// Whether the process shows a message box right now.
bool ShowsMessageBox(DWORD processId);
// Presses OK (or the button `id`, such as IDYES or IDNO) and waits until
// the box has gone; false if it stays.
bool PressOk(const MessageBoxSeen& box);
bool PressButton(const MessageBoxSeen& box, int id);

}  // namespace e2e
