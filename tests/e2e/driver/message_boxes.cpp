#include "driver/message_boxes.h"

#include "driver/polling.h"
#include "driver/windows.h"

namespace e2e {

namespace {

constexpr int kMessageTextId = 0xFFFF;

HWND VisibleMessageBoxOf(DWORD processId) {
  for (HWND window : TopLevelWindowsOf(processId))
    if (ClassOf(window) == "#32770" && IsWindowVisible(window)) return window;
  return nullptr;
}

}  // namespace

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, DWORD timeout) {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = VisibleMessageBoxOf(processId)) != nullptr; }, timeout)) return std::nullopt;
  return MessageBoxSeen{box, TextOf(box), TextOf(GetDlgItem(box, kMessageTextId))};
}

bool ShowsMessageBox(DWORD processId) { return VisibleMessageBoxOf(processId) != nullptr; }

bool PressOk(const MessageBoxSeen& box) { return PressButton(box, IDOK); }

bool PressButton(const MessageBoxSeen& box, int id) {
  // What a click on the button sends to the dialog.
  PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.window, id)));
  return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, kActionTimeout);
}

}  // namespace e2e
