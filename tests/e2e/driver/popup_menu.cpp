#include "driver/popup_menu.h"

#include "driver/polling.h"
#include "driver/windows.h"

namespace e2e {

namespace {

HWND VisiblePopupMenu(DWORD processId) {
  for (HWND window : TopLevelWindowsOf(processId))
    if (IsWindowVisible(window) && ClassOf(window) == "#32768") return window;
  return nullptr;
}

// The menu's loop reads the keys its thread receives, whatever window they
// are addressed to.
void PressKey(HWND menu, WORD key) {
  PostMessageA(menu, WM_KEYDOWN, key, 1);
  PostMessageA(menu, WM_KEYUP, key, 1 | (3u << 30));
}

}  // namespace

HWND WaitForPopupMenu(DWORD processId, DWORD timeout) {
  HWND menu = nullptr;
  WaitUntil([&] { return (menu = VisiblePopupMenu(processId)) != nullptr; }, timeout);
  return menu;
}

void ChooseInPopupMenu(HWND menu, WORD arrowKey, int presses) {
  for (int i = 0; i < presses; ++i) PressKey(menu, arrowKey);
  PressKey(menu, VK_RETURN);
}

void ClosePopupMenu(HWND menu) { PressKey(menu, VK_ESCAPE); }

bool WaitForNoPopupMenu(DWORD processId, DWORD timeout) {
  return WaitUntil([&] { return VisiblePopupMenu(processId) == nullptr; }, timeout);
}

}  // namespace e2e
